#include "test_files.h"

#include <windows.h>

#include <cstdio>
#include <fstream>
#include <sstream>

TestFolder::TestFolder() {
    static unsigned counter = 0;
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    char name[MAX_PATH];
    std::snprintf(name, sizeof name, "%szavtest_%lu_%u_%lu", temp, GetCurrentProcessId(), ++counter, GetTickCount());
    m_path = name;
    CreateDirectoryA(m_path.c_str(), nullptr);
}

TestFolder::~TestFolder() { RemoveTree(m_path); }

std::string TestFolder::File(const std::string& name) const { return m_path + "\\" + name; }

std::string TestFolder::Write(const std::string& name, const std::string& bytes) const {
    std::string path = File(name);
    std::ofstream out(path.c_str(), std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return path;
}

std::string ReadBytes(const std::string& path) {
    std::ifstream in(path.c_str(), std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

bool FileExists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

void RemoveTree(const std::string& path) {
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA((path + "\\*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            std::string name = data.cFileName;
            if (name == "." || name == "..") continue;
            std::string child = path + "\\" + name;
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(child);
            else {
                SetFileAttributesA(child.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileA(child.c_str());
            }
        } while (FindNextFileA(find, &data));
        FindClose(find);
    }
    RemoveDirectoryA(path.c_str());
}
