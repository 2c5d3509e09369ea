// A readable name of the running Windows version, for the log header.
#pragma once

#include <windows.h>
#include <string>

// What the name is built from: the extended version record, the processor
// architecture, the product type number and a few system metrics.
struct OsVersionRecord {
    DWORD major = 0;
    DWORD minor = 0;
    DWORD build = 0;
    DWORD platform = 0;       // 1 Windows 9x, 2 NT family, 3 CE
    std::string servicePack;  // e.g. "Service Pack 1", may be empty
    WORD suiteMask = 0;
    BYTE productType = 0;   // 1 workstation
    WORD architecture = 0;  // 0 x86, 6 Itanium, 9 x64
    DWORD productInfo = 0;  // GetProductInfo result (Vista and later)
    int serverR2 = 0;       // GetSystemMetrics(SM_SERVERR2)
    int mediaCenter = 0;    // SM_MEDIACENTER
    int starter = 0;        // SM_STARTER
    int tabletPc = 0;       // SM_TABLETPC
};

// The version name for a record (possibly empty).
std::string MakeOsVersionText(const OsVersionRecord& record);

// Reads the record of the running system. 0 when the version cannot be read.
int ReadOsVersionRecord(OsVersionRecord* record);

class CGetOsVersion {
public:
    virtual ~CGetOsVersion();
    // 0 when the version cannot be read (the text is then untouched),
    // otherwise fills the text and returns non-zero.
    int GetVersionText(std::string& text);
};
