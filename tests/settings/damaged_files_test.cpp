// Damaged settings files: each is moved aside as ".bak", seeded again from the
// installation folder and loaded once more; nothing crashes or hangs, and no
// other setting of the user is lost.
#include <windows.h>

#include <cstdlib>
#include <functional>
#include <random>

#include "base/running_settings.h"
#include "base/settings_files.h"
#include "settings_fixture.h"

namespace {

using Damage = std::function<std::string(const std::string&)>;

std::string ReplaceOnce(std::string s, const std::string& from, const std::string& to) {
    const size_t at = s.find(from);
    if (at != std::string::npos) s.replace(at, from.size(), to);
    return s;
}

std::string CutElement(std::string s, const std::string& name) {
    const size_t b = s.find("<" + name);
    const std::string close = "</" + name + ">";
    const size_t e = s.find(close);
    if (b != std::string::npos && e != std::string::npos) s.erase(b, e + close.size() - b);
    return s;
}

std::string WithArchiveVersion(std::string s, const char* version) {
    const std::string key = "signature=\"serialization::archive\" version=\"";
    const size_t at = s.find(key);
    if (at != std::string::npos) {
        const size_t b = at + key.size();
        s.replace(b, s.find('"', b) - b, version);
    }
    return s;
}

std::string ToUtf16(const std::string& utf8) {
    const std::wstring w = DecodeSettingsFileBytes(utf8);
    std::string out("\xFF\xFE", 2);
    out.append(reinterpret_cast<const char*>(w.data()), w.size() * 2);
    return out;
}

std::string ToShiftJis(const std::string& utf8) {
    const std::wstring w = DecodeSettingsFileBytes(utf8);
    const int n = WideCharToMultiByte(932, 0, w.data(), static_cast<int>(w.size()), nullptr, 0, nullptr, nullptr);
    std::string s(n, '\0');
    WideCharToMultiByte(932, 0, w.data(), static_cast<int>(w.size()), &s[0], n, nullptr, nullptr);
    return s;
}

std::string Binary(const std::string&) {
    std::mt19937 rng(7);
    std::string s(4096, '\0');
    for (char& c : s)
        c = static_cast<char>(rng());
    return s;
}

struct DamageCase {
    const char* name;
    Damage config;  // applied to a valid ConfigData.xml
    Damage local;   // applied to a valid LocalSettings.xml
};

std::vector<DamageCase> DamageTable() {
    return {
        {"empty", [](const std::string&) { return std::string(); }, [](const std::string&) { return std::string(); }},
        {"truncated in the middle", [](const std::string& s) { return s.substr(0, s.size() / 2); },
         [](const std::string& s) { return s.substr(0, s.size() / 2); }},
        {"closing root cut off", [](const std::string& s) { return ReplaceOnce(s, "</boost_serialization>", ""); },
         [](const std::string& s) { return ReplaceOnce(s, "</boost_serialization>", ""); }},
        {"junk after the root", [](const std::string& s) { return s + "<junk/>"; },
         [](const std::string& s) { return s + "<junk/>"; }},
        {"binary", Binary, Binary},
        {"UTF-16", ToUtf16, ToUtf16},
        {"Shift_JIS", ToShiftJis, ToShiftJis},
        {"array count above its size",
         [](const std::string& s) { return ReplaceOnce(s, "<count>10</count>", "<count>11</count>"); },
         [](const std::string& s) { return ReplaceOnce(s, "<count>5</count>", "<count>6</count>"); }},
        {"list count above its items",
         [](const std::string& s) { return ReplaceOnce(s, "<count>2</count>", "<count>3</count>"); },
         [](const std::string& s) { return ReplaceOnce(s, "<count>2</count>", "<count>3</count>"); }},
        {"huge list count",
         [](const std::string& s) { return ReplaceOnce(s, "<count>2</count>", "<count>4000000000</count>"); },
         [](const std::string& s) { return ReplaceOnce(s, "<count>2</count>", "<count>4000000000</count>"); }},
        {"newer archive version", [](const std::string& s) { return WithArchiveVersion(s, "99"); },
         [](const std::string& s) { return WithArchiveVersion(s, "99"); }},
        {"wrong signature",
         [](const std::string& s) { return ReplaceOnce(s, "serialization::archive", "serialization::other"); },
         [](const std::string& s) { return ReplaceOnce(s, "serialization::archive", "serialization::other"); }},
        {"missing last element", [](const std::string& s) { return CutElement(s, "SystemColor"); },
         [](const std::string& s) { return CutElement(s, "StackCmd"); }},
        {"unreadable number", [](const std::string& s) { return ReplaceOnce(s, "<LOG>4</LOG>", "<LOG>x4</LOG>"); },
         [](const std::string& s) {
             return ReplaceOnce(s, "<iUndoCount>25</iUndoCount>", "<iUndoCount>-</iUndoCount>");
         }},
        {"missing element in the middle", [](const std::string& s) { return CutElement(s, "TT"); },
         [](const std::string& s) { return CutElement(s, "bToolHlp"); }},
        {"misplaced end tag", [](const std::string& s) { return ReplaceOnce(s, "</TT>", "</YESNOMSG>"); },
         [](const std::string& s) { return ReplaceOnce(s, "</MOUSE>", "</PNL_MAIN>"); }},
    };
}

class DamagedFilesTest : public SettingsFixture {
protected:
    // A user's own settings files: values that differ from the shipped copies,
    // with Japanese text and two-entry lists.
    void WriteUserFiles() {
        CCadSystemSettings s;
        s.GetConfigDataPath(true, true);
        s.GetLocalSettingsPath(true, true);
        s.m_ConfigData.LOG = 4;
        s.m_ConfigData.COMPANY = "設計室";
        s.m_ConfigData.SCALE = {"1/50", "1/100"};
        ASSERT_EQ(0, s.SaveConfigDataFile(nullptr));
        s.m_LocalSettingsSetup.iUndoCount = 25;
        s.m_LocalSettingsSetup.szDefPaperStr1 = "表題欄";
        s.m_LocalSettingsStackCmd.CmdId = {5001, 5002};
        s.m_LocalSettingsStackCmd.CmdName = {"線", "円"};
        ASSERT_EQ(0, s.SaveLocalSettings(nullptr));
        userConfig_ = ReadBytes(UserPath("ConfigData.xml"));
        userLocal_ = ReadBytes(UserPath("LocalSettings.xml"));
        // Seeding copies only a newer installation copy: keep ours newer.
        Touch(UserPath("ConfigData.xml"), 0);
        Touch(UserPath("LocalSettings.xml"), 0);
    }
    std::string userConfig_, userLocal_;
};

}  // namespace

TEST_F(DamagedFilesTest, EachDamageIsMovedAsideAndTheShippedCopyLoaded) {
    WriteUserFiles();
    for (const DamageCase& c : DamageTable()) {
        for (int kind = 0; kind < 2; ++kind) {
            const char* file = kind == 0 ? "ConfigData.xml" : "LocalSettings.xml";
            const std::string valid = kind == 0 ? userConfig_ : userLocal_;
            const std::string damaged = kind == 0 ? c.config(valid) : c.local(valid);
            ASSERT_NE(valid, damaged) << c.name << " / " << file << ": the damage did not apply";
            // Start from the user's good files, then damage one of them.
            WriteBytes(UserPath("ConfigData.xml"), userConfig_);
            WriteBytes(UserPath("LocalSettings.xml"), userLocal_);
            WriteBytes(UserPath(file), damaged);
            DeleteFileA(UserPath(kind == 0 ? "ConfigData.bak" : "LocalSettings.bak").c_str());
            boxes_->Clear();

            CCadSystemSettings s;
            s.m_ConfigData.TIMESTEP = 1;
            s.m_LocalSettingsSetup.iUndoCount = 1;
            const int config = s.LoadConfigData(false, nullptr);
            const int local = s.LoadLocalSettings(false, nullptr);
            const std::string where = std::string(c.name) + " / " + file;
            EXPECT_EQ(0, config) << where;
            EXPECT_EQ(0, local) << where;
            EXPECT_TRUE(Messages().empty()) << where << ": " << (Messages().empty() ? "" : Messages()[0].text);
            // The damaged file is kept whole beside; the fresh copy took its place.
            EXPECT_EQ(damaged, ReadBytes(UserPath(kind == 0 ? "ConfigData.bak" : "LocalSettings.bak"))) << where;
            EXPECT_EQ(ReadBytes(InstallPath(file)), ReadBytes(UserPath(file))) << where;
            // The shipped values in the damaged one, the user's own in the other.
            if (kind == 0) {
                EXPECT_EQ(0, s.m_ConfigData.LOG) << where;
                EXPECT_EQ(170u, s.m_ConfigData.TIMESTEP) << where;
                EXPECT_EQ(25, s.m_LocalSettingsSetup.iUndoCount) << where;
                EXPECT_EQ(2u, s.m_LocalSettingsStackCmd.CmdName.size()) << where;
            } else {
                EXPECT_EQ(4, s.m_ConfigData.LOG) << where;
                EXPECT_EQ("設計室", s.m_ConfigData.COMPANY) << where;
                EXPECT_EQ(10, s.m_LocalSettingsSetup.iUndoCount) << where;
                EXPECT_TRUE(s.m_LocalSettingsStackCmd.CmdId.empty()) << where;
            }
        }
    }
}

TEST_F(DamagedFilesTest, DamagedShippedCopyTooIsReportedOnceAndKeepsTheRecords) {
    WriteUserFiles();
    for (int kind = 0; kind < 2; ++kind) {
        const char* file = kind == 0 ? "ConfigData.xml" : "LocalSettings.xml";
        WriteBytes(UserPath(file), "<?xml");
        // The shipped ConfigData.xml with an 11-item gesture array; LocalSettings.xml
        // with a count that is not a number.
        WriteBytes(InstallPath(file),
                   kind == 0 ? ReplaceOnce(ReadBytes(DistFile(file)), "<count>10</count>", "<count>11</count>")
                             : ReplaceOnce(ReadBytes(DistFile(file)), "<count>", "<count>x"));
        boxes_->Clear();
        CCadSystemSettings s;
        s.m_ConfigData.LOG = 7;
        s.m_LocalSettingsSetup.iUndoCount = 7;
        EXPECT_EQ(-1, kind == 0 ? s.LoadConfigData(false, nullptr) : s.LoadLocalSettings(false, nullptr)) << file;
        ASSERT_EQ(1u, Messages().size()) << file;
        EXPECT_NE(std::string::npos, Messages()[0].text.find("の読込みに失敗しました。(")) << file;
        EXPECT_NE(std::string::npos, Messages()[0].text.find(UserPath(file))) << file;
        EXPECT_EQ("確認", Messages()[0].caption);
        if (kind == 0) {
            EXPECT_NE(std::string::npos, Messages()[0].text.find("array size too short")) << Messages()[0].text;
        }
        EXPECT_EQ(static_cast<unsigned>(MB_ICONERROR), Messages()[0].flags & MB_ICONMASK);
        // A failed load changes nothing in the records.
        EXPECT_EQ(7, s.m_ConfigData.LOG) << file;
        EXPECT_EQ(7, s.m_LocalSettingsSetup.iUndoCount) << file;
        EXPECT_EQ("<?xml", ReadBytes(UserPath(kind == 0 ? "ConfigData.bak" : "LocalSettings.bak"))) << file;
    }
}

TEST_F(DamagedFilesTest, ThousandsOfMutatedCopiesNeverCrashOrHalfLoad) {
    WriteUserFiles();
    // ZAV_MUTATION_SEED and ZAV_MUTATIONS give longer runs by hand.
    const char* seedText = std::getenv("ZAV_MUTATION_SEED");
    const char* countText = std::getenv("ZAV_MUTATIONS");
    std::mt19937 rng(seedText ? static_cast<unsigned>(std::atoi(seedText)) : 20261210u);
    const int mutants = countText ? std::atoi(countText) : 2500;
    const char interesting[] = "<>/\"&0123456789- \n\t\xE3\x81\x82\xFF";
    int loaded = 0, refused = 0;
    for (int kind = 0; kind < 2; ++kind) {
        const std::string valid = kind == 0 ? userConfig_ : userLocal_;
        const std::string path = UserPath(kind == 0 ? "mutant_config.xml" : "mutant_local.xml");
        CCadSystemSettings s;
        ASSERT_EQ(0, kind == 0 ? s.LoadConfigData(false, UserPath("ConfigData.xml").c_str())
                               : s.LoadLocalSettings(false, UserPath("LocalSettings.xml").c_str()));
        auto snapshot = [&] {
            return kind == 0
                       ? SaveConfigDataText(s.m_ConfigData)
                       : SaveLocalSettingsText(LocalSettingsRecords{&s.m_LocalSettingsSetup, &s.m_LocalSettingsWindow,
                                                                    &s.m_CadFileBackup, &s.m_LocalSettingsStackCmd});
        };
        for (int i = 0; i < mutants; ++i) {
            std::string m = valid;
            const int ops = 1 + static_cast<int>(rng() % 3);
            for (int op = 0; op < ops && !m.empty(); ++op) {
                const size_t at = rng() % m.size();
                const size_t len = 1 + rng() % 40;
                switch (rng() % 6) {
                case 0: m[at] = static_cast<char>(m[at] ^ (1 << (rng() % 8))); break;
                case 1: m[at] = interesting[rng() % (sizeof interesting - 1)]; break;
                case 2: m.erase(at, len); break;
                case 3: m.insert(at, m.substr(rng() % m.size(), len)); break;
                case 4: m.resize(at); break;
                case 5: m.insert(at, std::string(1, interesting[rng() % (sizeof interesting - 1)])); break;
                }
            }
            WriteBytes(path, m);
            const std::wstring before = snapshot();
            const int r = kind == 0 ? s.LoadConfigData(false, path.c_str()) : s.LoadLocalSettings(false, path.c_str());
            ASSERT_TRUE(r == 0 || r == -1) << "mutant " << i;
            if (r == 0) {
                ++loaded;
            } else {
                ++refused;
                // A refused file is kept beside as ".bak" and the records stay whole.
                ASSERT_EQ(before, snapshot()) << "mutant " << i << " of kind " << kind;
                ASSERT_FALSE(Exists(path)) << "mutant " << i;
            }
        }
    }
    EXPECT_TRUE(Messages().empty());
    EXPECT_GT(refused, mutants);
    std::printf("mutants: %d loaded, %d refused\n", loaded, refused);
}
