#include "base/ini_value.h"

#include <cstdio>

#include "base/settings_layer.h"

CIniValue::CIniValue(const char* section, const char* key)
    : m_section(section ? section : ""), m_key(key ? key : ""), m_flag(0) {}

void CIniValue::ReadFlag() {
    int flag = m_flag;
    ReadSettingValue(&flag, 1, 0, m_section.c_str(), FlagKey().c_str(), m_flag ? "1" : "0");
    m_flag = flag;
}

int CIniValue::WriteValue(const char* text, int writeFlag) {
    if (writeFlag) WriteSettingText(m_section.c_str(), FlagKey().c_str(), m_flag ? "1" : "0");
    return WriteSettingText(m_section.c_str(), m_key.c_str(), text ? text : "");
}

CIniValueInt::CIniValueInt(const char* section, const char* key, int value) : CIniValue(section, key), m_value(value) {}

void CIniValueInt::Read(const char* defaultText) {
    ReadFlag();
    ReadSettingValue(&m_value, 1, 0, m_section.c_str(), m_key.c_str(), defaultText);
}

int CIniValueInt::Write(int writeFlag) {
    char text[16];
    std::snprintf(text, sizeof text, "%ld", static_cast<long>(m_value));
    return WriteValue(text, writeFlag);
}

CIniValueDouble::CIniValueDouble(const char* section, const char* key, double value)
    : CIniValue(section, key), m_value(value) {}

void CIniValueDouble::Read(const char* defaultText) {
    ReadFlag();
    ReadSettingValue(&m_value, 4, 0, m_section.c_str(), m_key.c_str(), defaultText);
}

CIniValueString::CIniValueString(const char* section, const char* key, const char* value)
    : CIniValue(section, key), m_value(value ? value : "") {}

void CIniValueString::Read(const char* defaultText) {
    ReadFlag();
    char text[SETTING_TEXT_SIZE] = "";
    ReadSettingValue(text, 5, sizeof text, m_section.c_str(), m_key.c_str(), defaultText);
    m_value = text;
}

int CIniValueString::Write(int writeFlag) { return WriteValue(m_value.c_str(), writeFlag); }
