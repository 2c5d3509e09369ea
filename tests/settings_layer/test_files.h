// Real files for the tests: a private folder per test, removed afterwards.
#pragma once

#include <string>

class TestFolder {
public:
    TestFolder();
    ~TestFolder();
    TestFolder(const TestFolder&) = delete;
    TestFolder& operator=(const TestFolder&) = delete;

    const std::string& Path() const { return m_path; }
    // Path of a name inside the folder.
    std::string File(const std::string& name) const;
    // Writes bytes to a name inside the folder; returns its path.
    std::string Write(const std::string& name, const std::string& bytes) const;

private:
    std::string m_path;
};

// Whole contents of a file; empty when it cannot be read.
std::string ReadBytes(const std::string& path);
bool FileExists(const std::string& path);
// Removes a folder tree.
void RemoveTree(const std::string& path);
