// What the command-panel editor edits: one page as a grid in which every
// panel row is a column and the buttons of that row run down it. Cell (0, 0)
// holds the page name (the page combo's place), so the first panel row
// starts at row 1 and later ones at row 0.
#pragma once

#include <string>
#include <vector>

struct PanelGridCell {
    int deleted = 0;  // ignored by every operation but the row shift
    int column = 0;
    int row = 0;
    std::string text;  // the entry line; the page name at (0, 0)
};

class PanelGridModel {
public:
    static constexpr int kRowCapacity = 100;

    PanelGridModel() = default;
    PanelGridModel(const std::string& name, const std::vector<std::string>& entries) { Build(name, entries); }
    void Build(const std::string& name, const std::vector<std::string>& entries);

    // 0 the page-name cell, 1 a cell, 2 the next free place of its column,
    // -1 anything else.
    int CellState(int column, int row) const;
    const PanelGridCell* Find(int column, int row) const;
    // Selects a cell of state 1 or 2; false (nothing changes) otherwise.
    bool Select(int column, int row);

    // The operations at the selected cell: 0 done, -1 refused (nothing
    // changed).
    int MoveUp();
    int MoveDown();
    int Delete();
    int Change(const std::string& line);
    // Refused at the page-name cell and in a column that is full.
    int Insert(const std::string& line);

    // The page's entries: every panel row in order, a row break after the
    // first row and between the later ones.
    std::vector<std::string> Entries() const;
    std::string Name() const;
    int LastColumn() const;

    std::vector<PanelGridCell> m_cells;
    int m_column = 0;
    int m_row = 0;

private:
    PanelGridCell* FindLive(int column, int row);
    void ShiftColumn(int column, int fromRow, int by);
};
