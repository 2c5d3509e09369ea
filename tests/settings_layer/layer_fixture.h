// A private installation folder, per-user folder and documents folder, the
// shipped installation data files copied in, ProgramIni pointed at the
// installation copy of ZavIrurer.ini, and message boxes answered by a hook.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "test_files.h"
#include "win/message_box.h"

class LayerFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    std::string InstallPath(const std::string& name) const { return install_ + "\\" + name; }
    std::string UserPath(const std::string& name) const { return user_ + "\\" + name; }
    // A shipped installation data file (build/dist).
    static std::string DistFile(const std::string& name);
    static void WriteFile(const std::string& path, const std::string& bytes);
    // Moves a file's last write time by the given seconds from now.
    static void Touch(const std::string& path, int seconds);

    std::unique_ptr<TestFolder> root_;
    std::string install_, local_, documents_, user_;
    std::unique_ptr<win::MessageBoxTestHook> boxes_;
};
