// Readable name of the Windows version for the log header; see os_version.h.
#include "base/os_version.h"

namespace {

const WORD kSuiteEnterprise = 0x0002;
const WORD kSuiteDatacenter = 0x0080;
const WORD kSuitePersonal = 0x0200;
const WORD kSuiteBlade = 0x0400;
const WORD kSuiteStorageServer = 0x2000;
const WORD kSuiteComputeServer = 0x4000;
const WORD kSuiteHomeServer = 0x8000;
const BYTE kWorkstation = 1;
const WORD kArchX86 = 0;
const WORD kArchIa64 = 6;
const WORD kArchAmd64 = 9;

const char* EditionOfProduct(DWORD product) {
    switch (product) {
    case 1: return "Ultimate Edition";
    case 2: return "Home Basic Edition";
    case 3: return "Home Premium Edition";
    case 4: return "Enterprise Edition";
    case 6: return "Business Edition";
    case 7: return "Standard Edition";
    case 8: return "Datacenter Edition";
    case 9: return "Small Business Server";
    case 10: return "Enterprise Edition";
    case 11: return "Starter Edition";
    case 12: return "Datacenter Edition (core installation)";
    case 13: return "Standard Edition (core installation)";
    case 14: return "Enterprise Edition (core installation)";
    case 15: return "Enterprise Edition for Itanium-based Systems";
    case 17: return "Web Server Edition";
    case 18: return "HPC Server Edition";
    case 25: return "Small Business Server Premium Edition";
    case 48: return "Professional";
    default: return "";
    }
}

void AppendServer2003(const OsVersionRecord& r, std::string& text) {
    bool workstation = r.productType == kWorkstation;
    if (r.serverR2)
        text += "Windows Server 2003 R2, ";
    else if (r.suiteMask & kSuiteStorageServer)
        text += "Windows Storage Server 2003";
    else if (r.suiteMask & kSuiteHomeServer)
        text += "Windows Home Server 2003";
    else if (workstation && r.architecture == kArchAmd64)
        text += "Windows XP Professional x64 Edition";
    else
        text += "Windows Server 2003, ";
    if (workstation) return;
    if (r.architecture == kArchIa64) {
        if (r.suiteMask & kSuiteDatacenter)
            text += "Datacenter Edition for Itanium-based Systems";
        else if (r.suiteMask & kSuiteEnterprise)
            text += "Enterprise Edition for Itanium-based Systems";
    } else if (r.architecture == kArchAmd64) {
        if (r.suiteMask & kSuiteDatacenter)
            text += "Datacenter x64 Edition";
        else if (r.suiteMask & kSuiteEnterprise)
            text += "Enterprise x64 Edition";
        else
            text += "Standard x64 Edition";
    } else {
        if (r.suiteMask & kSuiteComputeServer)
            text += "Compute Cluster Edition";
        else if (r.suiteMask & kSuiteDatacenter)
            text += "Datacenter Edition";
        else if (r.suiteMask & kSuiteEnterprise)
            text += "Enterprise Edition";
        else if (r.suiteMask & kSuiteBlade)
            text += "Web Edition";
        else
            text += "Standard Edition";
    }
}

std::string NtText(const OsVersionRecord& r) {
    bool workstation = r.productType == kWorkstation;
    if (r.major < 5) {
        if (r.major == 4 && r.minor == 0) return "Windows NT4 ";
        if (r.major == 3 && r.minor == 51) return "Windows NT 3.51 ";
        return std::string();
    }

    std::string text = "Microsoft ";
    if (r.major == 10) {
        if (r.minor == 0) text += workstation ? "Windows 10 " : "Windows Server 2016 ";
    } else if (r.major == 6) {
        static const char* const names[4][2] = {
            {"Windows Vista ", "Windows Server 2008 "},
            {"Windows 7 ", "Windows Server 2008 R2 "},
            {"Windows 8 ", "Windows Server 2012 "},
            {"Windows 8.1 ", "Windows Server 2012 R2 "},
        };
        if (r.minor <= 3) {
            text += names[r.minor][workstation ? 0 : 1];
            text += EditionOfProduct(r.productInfo);
        } else {
            text += "不明のバージョン ";
        }
    } else if (r.major == 5 && r.minor == 2) {
        AppendServer2003(r, text);
    } else if (r.major == 5 && r.minor == 1) {
        text += "Windows XP ";
        text += (r.suiteMask & kSuitePersonal) ? "Home Edition" : "Professional";
        if (r.mediaCenter)
            text += "Media Center Edition";
        else if (r.starter)
            text += "Starter Edition";
        else if (r.tabletPc)
            text += "Tablet PC Edition";
    } else if (r.major == 5 && r.minor == 0) {
        text += "Windows 2000 ";
        if (workstation)
            text += "Professional";
        else if (r.suiteMask & kSuiteDatacenter)
            text += "Datacenter Server";
        else if (r.suiteMask & kSuiteEnterprise)
            text += "Advanced Server";
        else
            text += "Server";
    }

    if (!r.servicePack.empty()) {
        text += " ";
        text += r.servicePack;
    }
    text += " (build " + std::to_string(r.build) + ")";
    if (r.major >= 6) {
        if (r.architecture == kArchAmd64)
            text += ", 64-bit";
        else if (r.architecture == kArchX86)
            text += ", 32-bit";
    }
    return text;
}

std::string Win9xText(const OsVersionRecord& r) {
    if (r.major != 4) return std::string();
    if (r.minor == 0) return r.build > 1080 ? "Windows 95 OEM Service Release 2" : "Windows 95";
    if (r.minor == 10) return r.build >= 2183 ? "Windows 98 Second Edition" : "Windows 98";
    if (r.minor == 90) return "Windows Millennium Edition";
    return std::string();
}

std::string CeText(const OsVersionRecord& r) {
    // Minor numbers as the systems report them: 2.1 may come as 10, 4.1 and
    // 4.2 as 10 and 20.
    static const struct {
        DWORD major, minor;
        const char* text;
    } versions[] = {
        {1, 0, "Windows CE 1.0"},   {2, 0, "Windows CE 2.0"},   {2, 1, "Windows CE 2.1"}, {2, 10, "Windows CE 2.1"},
        {2, 11, "Windows CE 2.11"}, {2, 12, "Windows CE 2.12"}, {3, 0, "Windows CE 3.0"}, {4, 0, "Windows CE 4.0"},
        {4, 1, "Windows CE 4.1"},   {4, 10, "Windows CE 4.1"},  {4, 2, "Windows CE 4.2"}, {4, 20, "Windows CE 4.2"},
        {4, 21, "Windows CE 4.21"}, {5, 0, "Windows CE 5.0"},   {5, 1, "Windows CE 5.1"}, {5, 2, "Windows CE 5.2"},
        {6, 0, "Windows CE 6.0"},
    };
    for (const auto& v : versions) {
        if (v.major == r.major && v.minor == r.minor) return v.text;
    }
    return std::string();
}

}  // namespace

std::string MakeOsVersionText(const OsVersionRecord& record) {
    switch (record.platform) {
    case VER_PLATFORM_WIN32_NT: return NtText(record);
    case VER_PLATFORM_WIN32_WINDOWS: return Win9xText(record);
    case 3: return CeText(record);
    default: return std::string();
    }
}

int ReadOsVersionRecord(OsVersionRecord* record) {
    if (!record) return 0;
    OSVERSIONINFOEXA info = {};
    info.dwOSVersionInfoSize = sizeof(info);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    if (!GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&info))) return 0;
#pragma GCC diagnostic pop

    OsVersionRecord r;
    r.major = info.dwMajorVersion;
    r.minor = info.dwMinorVersion;
    r.platform = info.dwPlatformId;
    // Windows 9x keeps the major and minor numbers in the build's high word.
    r.build = r.platform == VER_PLATFORM_WIN32_WINDOWS ? LOWORD(info.dwBuildNumber) : info.dwBuildNumber;
    r.servicePack = info.szCSDVersion;
    r.suiteMask = info.wSuiteMask;
    r.productType = info.wProductType;

    SYSTEM_INFO si = {};
    typedef void(WINAPI * NativeInfoFn)(LPSYSTEM_INFO);
    HMODULE kernel = GetModuleHandleA("kernel32.dll");
    NativeInfoFn nativeInfo =
        kernel ? reinterpret_cast<NativeInfoFn>(reinterpret_cast<void*>(GetProcAddress(kernel, "GetNativeSystemInfo")))
               : nullptr;
    if (nativeInfo)
        nativeInfo(&si);
    else
        GetSystemInfo(&si);
    r.architecture = si.wProcessorArchitecture;

    if (r.platform == VER_PLATFORM_WIN32_NT && r.major >= 6) {
        typedef BOOL(WINAPI * ProductInfoFn)(DWORD, DWORD, DWORD, DWORD, PDWORD);
        ProductInfoFn productInfo =
            kernel ? reinterpret_cast<ProductInfoFn>(reinterpret_cast<void*>(GetProcAddress(kernel, "GetProductInfo")))
                   : nullptr;
        DWORD product = 0;
        if (productInfo && productInfo(r.major, r.minor, 0, 0, &product)) r.productInfo = product;
    }
    r.serverR2 = GetSystemMetrics(SM_SERVERR2);
    r.mediaCenter = GetSystemMetrics(SM_MEDIACENTER);
    r.starter = GetSystemMetrics(SM_STARTER);
    r.tabletPc = GetSystemMetrics(SM_TABLETPC);
    *record = r;
    return 1;
}

CGetOsVersion::~CGetOsVersion() {}

int CGetOsVersion::GetVersionText(std::string& text) {
    OsVersionRecord record;
    if (!ReadOsVersionRecord(&record)) return 0;
    text = MakeOsVersionText(record);
    return 1;
}
