// A private per-user folder, documents folder and installation folder for
// each test, with the installation copies of the settings files, and a
// recorder of the message boxes the settings layer would show.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "win/message_box.h"

class SettingsFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Paths inside the private folders.
    std::string UserPath(const char* name) const;
    std::string InstallPath(const char* name) const;

    static std::string ReadBytes(const std::string& path);
    static void WriteBytes(const std::string& path, const std::string& bytes);
    static bool Exists(const std::string& path);
    // The shipped copy of an installation data file.
    static std::string DistFile(const char* name);
    // Moves a file's last write time by the given number of seconds.
    static void Touch(const std::string& path, int secondsFromNow);

    // The message boxes shown so far (none reach the screen).
    const std::vector<win::MessageBoxCall>& Messages() const { return boxes_->Calls(); }

    std::string root_, localAppData_, documents_, install_, userDir_;
    std::unique_ptr<win::MessageBoxTestHook> boxes_;
};
