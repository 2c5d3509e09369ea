#include "command/selection_services.h"

#include <mmsystem.h>

#include "command/cmd_switches.h"
#include "command/drawing_access.h"
#include "command/host_hooks.h"

using namespace drawing;

namespace {

void WriteSelection(StoredElement* element, uint32_t flags, uint32_t colour) {
    element->selection = flags;
    element->selColour = colour;
    if (IsSelectionGroupKind(element->rec.kind)) {
        ForEachMemberLink(element, [&](StoredElement* m) {
            m->selection = flags;
            m->selColour = colour;
        });
    }
}

void NoteSelectionChanged(HWND view) {
    if (DbHeader* db = ViewDb(view ? view : ActiveView())) db->selectionChanged = 1;
}

}  // namespace

int SelectElement(HWND view, StoredElement* element) {
    RefreshPopups();
    if (!element) return 0;
    WriteSelection(element, element->selection | 1u, static_cast<uint32_t>(Switches().highlightColor));
    NoteSelectionChanged(view);
    DrawElement(view ? view : ActiveView(), -2, element);
    return 1;
}

int GetElementSelection(StoredElement* element, uint32_t* flags, uint32_t* colour) {
    RefreshPopups();
    if (!element) return 0;
    if (flags) *flags = element->selection;
    if (colour) *colour = element->selColour;
    return 1;
}

int SetElementSelection(HWND view, StoredElement* element, uint32_t flags, uint32_t colour) {
    RefreshPopups();
    if (!element) return 0;
    WriteSelection(element, flags, colour);
    NoteSelectionChanged(view);
    DrawElement(view ? view : ActiveView(), -2, element);
    return 1;
}

void PlayBeep(int kind) {
    const std::string sound = HostHooks().soundFile ? HostHooks().soundFile() : std::string();
    if (!sound.empty()) {
        sndPlaySoundA(sound.c_str(), SND_ASYNC | SND_NODEFAULT);
        return;
    }
    MessageBeep(kind == 2 ? MB_ICONHAND : 0xFFFFFFFF);
}
