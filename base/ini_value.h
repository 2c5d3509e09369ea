// One key of a settings section bound to a value, read and written through
// the settings layer (section "SYSTEM" from ConfigData.xml, any other from
// ProgramIni), with a companion flag key (the key name + "_FLG").
#pragma once

#include <string>

class CIniValue {
public:
    CIniValue(const char* section, const char* key);

    // flag = the companion key's integer, defaulting to the current flag.
    virtual void ReadFlag();
    // With writeFlag, the companion key first ("1" or "0" after the flag),
    // then the value. The result of the last write.
    virtual int WriteValue(const char* text, int writeFlag);

    std::string m_section;
    std::string m_key;
    int m_flag;

protected:
    std::string FlagKey() const { return m_key + "_FLG"; }
};

class CIniValueInt : public CIniValue {
public:
    CIniValueInt(const char* section, const char* key, int value);
    void Read(const char* defaultText);
    int Write(int writeFlag);
    int m_value;
};

class CIniValueDouble : public CIniValue {
public:
    CIniValueDouble(const char* section, const char* key, double value);
    void Read(const char* defaultText);
    double m_value;
};

class CIniValueString : public CIniValue {
public:
    CIniValueString(const char* section, const char* key, const char* value);
    void Read(const char* defaultText);
    int Write(int writeFlag);
    std::string m_value;
};
