// Splitting of one line of comma-separated text (code page 932) into fields,
// as the definition and list files keep several values per line.
#pragma once

#include <string>
#include <vector>

class CCsvParser {
public:
    CCsvParser();
    explicit CCsvParser(const char* line);
    explicit CCsvParser(const std::string& line);
    virtual ~CCsvParser();

    // Discards the previous fields and splits the line. Result 0.
    int Parse(const char* line);
    int Parse(const std::string& line);

    // The fields of the last parsed line, in line order.
    size_t GetCount() const { return m_fields.size(); }
    const std::string& operator[](size_t index) const { return m_fields[index]; }
    // The field at `index`, or an empty text beyond the last field.
    const std::string& GetField(size_t index) const;
    const std::vector<std::string>& Fields() const { return m_fields; }

private:
    std::vector<std::string> m_fields;
};
