// The Windows version name for every kind of version record.
#include <gtest/gtest.h>
#include <string>
#include "base/os_version.h"

namespace {
OsVersionRecord Nt(DWORD major, DWORD minor, DWORD build, BYTE type, WORD arch) {
    OsVersionRecord r;
    r.platform = VER_PLATFORM_WIN32_NT;
    r.major = major;
    r.minor = minor;
    r.build = build;
    r.productType = type;
    r.architecture = arch;
    return r;
}
OsVersionRecord With(OsVersionRecord r, WORD suite, const char* sp = "", DWORD product = 0) {
    r.suiteMask = suite;
    r.servicePack = sp;
    r.productInfo = product;
    return r;
}
OsVersionRecord Other(DWORD platform, DWORD major, DWORD minor, DWORD build) {
    OsVersionRecord r;
    r.platform = platform;
    r.major = major;
    r.minor = minor;
    r.build = build;
    return r;
}
const BYTE WS = 1, SRV = 3;
const WORD X86 = 0, IA64 = 6, X64 = 9;
}  // namespace

TEST(OsVersion, NtFamilyRows) {
    OsVersionRecord xpMedia = Nt(5, 1, 2600, WS, X86);
    xpMedia.mediaCenter = 1;
    OsVersionRecord xpStarter = Nt(5, 1, 2600, WS, X86);
    xpStarter.starter = 1;
    OsVersionRecord xpTablet = Nt(5, 1, 2600, WS, X86);
    xpTablet.tabletPc = 1;
    OsVersionRecord r2 = With(Nt(5, 2, 3790, SRV, X86), 0x02, "Service Pack 2");
    r2.serverR2 = 1;

    const struct {
        const char* name;
        OsVersionRecord record;
        const char* text;
    } cases[] = {
        {"7 professional sp1 x64", With(Nt(6, 1, 7601, WS, X64), 0, "Service Pack 1", 48),
         "Microsoft Windows 7 Professional Service Pack 1 (build 7601), 64-bit"},
        {"10 x64", Nt(10, 0, 19045, WS, X64), "Microsoft Windows 10  (build 19045), 64-bit"},
        {"server 2016", Nt(10, 0, 14393, SRV, X64), "Microsoft Windows Server 2016  (build 14393), 64-bit"},
        {"10.1", Nt(10, 1, 100, WS, X86), "Microsoft  (build 100), 32-bit"},
        {"6.4 unknown", With(Nt(6, 4, 9999, WS, X64), 0, "", 48), "Microsoft 不明のバージョン  (build 9999), 64-bit"},
        {"vista ultimate sp2 x86", With(Nt(6, 0, 6002, WS, X86), 0, "Service Pack 2", 1),
         "Microsoft Windows Vista Ultimate Edition Service Pack 2 (build 6002), 32-bit"},
        {"server 2008", With(Nt(6, 0, 6001, SRV, X64), 0, "", 7),
         "Microsoft Windows Server 2008 Standard Edition (build 6001), 64-bit"},
        {"server 2008 r2", With(Nt(6, 1, 7600, SRV, X64), 0, "", 8),
         "Microsoft Windows Server 2008 R2 Datacenter Edition (build 7600), 64-bit"},
        {"8 unknown product", With(Nt(6, 2, 9200, WS, X64), 0, "", 999), "Microsoft Windows 8  (build 9200), 64-bit"},
        {"server 2012 core", With(Nt(6, 2, 9200, SRV, X64), 0, "", 13),
         "Microsoft Windows Server 2012 Standard Edition (core installation) (build 9200), 64-bit"},
        {"8.1 enterprise", With(Nt(6, 3, 9600, WS, X86), 0, "", 4),
         "Microsoft Windows 8.1 Enterprise Edition (build 9600), 32-bit"},
        {"2012 r2 itanium: no bitness", With(Nt(6, 3, 9600, SRV, IA64), 0, "", 7),
         "Microsoft Windows Server 2012 R2 Standard Edition (build 9600)"},
        {"2003 r2", r2, "Microsoft Windows Server 2003 R2, Enterprise Edition Service Pack 2 (build 3790)"},
        {"storage server", With(Nt(5, 2, 3790, SRV, X86), 0x2000),
         "Microsoft Windows Storage Server 2003Standard Edition (build 3790)"},
        {"home server", With(Nt(5, 2, 3790, SRV, X86), 0x8000),
         "Microsoft Windows Home Server 2003Standard Edition (build 3790)"},
        {"xp x64", Nt(5, 2, 3790, WS, X64), "Microsoft Windows XP Professional x64 Edition (build 3790)"},
        {"2003 ia64 datacenter", With(Nt(5, 2, 3790, SRV, IA64), 0x82),
         "Microsoft Windows Server 2003, Datacenter Edition for Itanium-based Systems (build 3790)"},
        {"2003 ia64 enterprise", With(Nt(5, 2, 3790, SRV, IA64), 0x02),
         "Microsoft Windows Server 2003, Enterprise Edition for Itanium-based Systems (build 3790)"},
        {"2003 ia64 plain", Nt(5, 2, 3790, SRV, IA64), "Microsoft Windows Server 2003,  (build 3790)"},
        {"2003 x64 datacenter", With(Nt(5, 2, 3790, SRV, X64), 0x80),
         "Microsoft Windows Server 2003, Datacenter x64 Edition (build 3790)"},
        {"2003 x64 enterprise", With(Nt(5, 2, 3790, SRV, X64), 0x02),
         "Microsoft Windows Server 2003, Enterprise x64 Edition (build 3790)"},
        {"2003 x64 standard", Nt(5, 2, 3790, SRV, X64),
         "Microsoft Windows Server 2003, Standard x64 Edition (build 3790)"},
        {"2003 cluster", With(Nt(5, 2, 3790, SRV, X86), 0x4080),
         "Microsoft Windows Server 2003, Compute Cluster Edition (build 3790)"},
        {"2003 datacenter", With(Nt(5, 2, 3790, SRV, X86), 0x0482),
         "Microsoft Windows Server 2003, Datacenter Edition (build 3790)"},
        {"2003 enterprise", With(Nt(5, 2, 3790, SRV, X86), 0x0402),
         "Microsoft Windows Server 2003, Enterprise Edition (build 3790)"},
        {"2003 web", With(Nt(5, 2, 3790, SRV, X86), 0x0400), "Microsoft Windows Server 2003, Web Edition (build 3790)"},
        {"2003 standard", Nt(5, 2, 3790, SRV, X86), "Microsoft Windows Server 2003, Standard Edition (build 3790)"},
        {"xp home sp3", With(Nt(5, 1, 2600, WS, X86), 0x200, "Service Pack 3"),
         "Microsoft Windows XP Home Edition Service Pack 3 (build 2600)"},
        {"xp professional", Nt(5, 1, 2600, WS, X86), "Microsoft Windows XP Professional (build 2600)"},
        {"xp media center", xpMedia, "Microsoft Windows XP ProfessionalMedia Center Edition (build 2600)"},
        {"xp starter", xpStarter, "Microsoft Windows XP ProfessionalStarter Edition (build 2600)"},
        {"xp tablet", xpTablet, "Microsoft Windows XP ProfessionalTablet PC Edition (build 2600)"},
        {"2000 professional", Nt(5, 0, 2195, WS, X86), "Microsoft Windows 2000 Professional (build 2195)"},
        {"2000 datacenter", With(Nt(5, 0, 2195, SRV, X86), 0x82),
         "Microsoft Windows 2000 Datacenter Server (build 2195)"},
        {"2000 advanced", With(Nt(5, 0, 2195, SRV, X86), 0x02), "Microsoft Windows 2000 Advanced Server (build 2195)"},
        {"2000 server", Nt(5, 0, 2195, SRV, X86), "Microsoft Windows 2000 Server (build 2195)"},
        {"nt4", With(Nt(4, 0, 1381, WS, X86), 0, "Service Pack 6"), "Windows NT4 "},
        {"nt 3.51", Nt(3, 51, 1057, WS, X86), "Windows NT 3.51 "},
        {"nt 3.1", Nt(3, 10, 528, WS, X86), ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.text, MakeOsVersionText(c.record)) << c.name;
}

TEST(OsVersion, EditionsByProductNumber) {
    const struct {
        DWORD product;
        const char* edition;
    } cases[] = {
        {1, "Ultimate Edition"},
        {2, "Home Basic Edition"},
        {3, "Home Premium Edition"},
        {4, "Enterprise Edition"},
        {5, ""},
        {6, "Business Edition"},
        {7, "Standard Edition"},
        {8, "Datacenter Edition"},
        {9, "Small Business Server"},
        {10, "Enterprise Edition"},
        {11, "Starter Edition"},
        {12, "Datacenter Edition (core installation)"},
        {13, "Standard Edition (core installation)"},
        {14, "Enterprise Edition (core installation)"},
        {15, "Enterprise Edition for Itanium-based Systems"},
        {16, ""},
        {17, "Web Server Edition"},
        {18, "HPC Server Edition"},
        {25, "Small Business Server Premium Edition"},
        {48, "Professional"},
        {0, ""},
    };
    for (const auto& c : cases) {
        OsVersionRecord r = With(Nt(6, 0, 6000, WS, X86), 0, "", c.product);
        EXPECT_EQ(std::string("Microsoft Windows Vista ") + c.edition + " (build 6000), 32-bit", MakeOsVersionText(r))
            << "product " << c.product;
    }
}

TEST(OsVersion, Windows9xAndCeRows) {
    const struct {
        OsVersionRecord record;
        const char* text;
    } cases[] = {
        {Other(1, 4, 0, 950), "Windows 95"},
        {Other(1, 4, 0, 1080), "Windows 95"},
        {Other(1, 4, 0, 1111), "Windows 95 OEM Service Release 2"},
        {Other(1, 4, 10, 1998), "Windows 98"},
        {Other(1, 4, 10, 2183), "Windows 98 Second Edition"},
        {Other(1, 4, 90, 3000), "Windows Millennium Edition"},
        {Other(1, 4, 50, 0), ""},
        {Other(3, 1, 0, 0), "Windows CE 1.0"},
        {Other(3, 2, 0, 0), "Windows CE 2.0"},
        {Other(3, 2, 1, 0), "Windows CE 2.1"},
        {Other(3, 2, 11, 0), "Windows CE 2.11"},
        {Other(3, 2, 12, 0), "Windows CE 2.12"},
        {Other(3, 3, 0, 0), "Windows CE 3.0"},
        {Other(3, 4, 0, 0), "Windows CE 4.0"},
        {Other(3, 4, 10, 0), "Windows CE 4.1"},
        {Other(3, 4, 20, 0), "Windows CE 4.2"},
        {Other(3, 4, 21, 0), "Windows CE 4.21"},
        {Other(3, 5, 0, 0), "Windows CE 5.0"},
        {Other(3, 5, 1, 0), "Windows CE 5.1"},
        {Other(3, 5, 2, 0), "Windows CE 5.2"},
        {Other(3, 6, 0, 0), "Windows CE 6.0"},
        {Other(3, 7, 0, 0), ""},
        {Other(0, 3, 10, 0), ""},
        {Other(5, 10, 0, 0), ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.text, MakeOsVersionText(c.record)) << "platform " << c.record.platform << " " << c.record.major
                                                       << "." << c.record.minor << " build " << c.record.build;
}

TEST(OsVersion, RunningSystem) {
    std::string text = "unchanged";
    CGetOsVersion version;
    ASSERT_NE(0, version.GetVersionText(text));
    EXPECT_EQ(0u, text.find("Microsoft ")) << text;
    EXPECT_NE(std::string::npos, text.find(" (build ")) << text;
}
