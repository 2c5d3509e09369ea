// Reading CadAppCmd.def through the definition-file reader.
#include "command/cad_app_cmd.h"

#include <list>

#include "win/message_box.h"

#include "base/def_file.h"

int CCadAppCmd::ReadDefFile(const char* path) {
    CDefFile file(path);
    if (!file.IsLoaded()) {
        ZavMessageBox(nullptr, file.GetLastError().c_str(), "エラー", MB_OK | MB_ICONWARNING);
        return -1;
    }
    CmdDefText def;
    file.GetValue("ReadOnlyCmd", "id", "", def.readOnlyIds);
    std::list<std::string> names;
    file.GetChildNames("CmdGroup", names);
    for (const auto& name : names) {
        CmdDefGroupText group;
        group.name = name;
        const std::string section = "CmdGroup/" + name;
        file.GetValue(section.c_str(), "dir", "", group.dir);
        std::list<std::string> items;
        file.GetValueList((section + "/data").c_str(), "item", items);
        group.items.assign(items.begin(), items.end());
        def.groups.push_back(group);
    }
    Load(def);
    return 0;
}
