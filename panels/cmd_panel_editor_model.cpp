#include "panels/cmd_panel_editor_model.h"

#include <algorithm>

#include "panels/cmd_panel_def.h"

void PanelGridModel::Build(const std::string& name, const std::vector<std::string>& entries) {
    m_cells.clear();
    m_column = m_row = 0;
    PanelGridCell head;
    head.text = name;
    m_cells.push_back(head);
    int column = 0, row = 1;
    for (const std::string& entry : entries) {
        if (IsCmdPanelRowBreak(entry)) {
            ++column;
            row = 0;
            continue;
        }
        PanelGridCell cell;
        cell.column = column;
        cell.row = row++;
        cell.text = entry;
        m_cells.push_back(cell);
    }
}

std::string PanelGridModel::Name() const {
    const PanelGridCell* head = Find(0, 0);
    return head ? head->text : std::string();
}

const PanelGridCell* PanelGridModel::Find(int column, int row) const {
    for (const PanelGridCell& c : m_cells)
        if (!c.deleted && c.column == column && c.row == row) return &c;
    return nullptr;
}

PanelGridCell* PanelGridModel::FindLive(int column, int row) {
    return const_cast<PanelGridCell*>(static_cast<const PanelGridModel*>(this)->Find(column, row));
}

int PanelGridModel::CellState(int column, int row) const {
    if (column == 0 && row == 0) return 0;
    if (column < 0 || row < 0) return -1;
    if (Find(column, row)) return 1;
    if ((column > 0 && row == 0) || (column == 0 && row == 1)) return 2;
    if (row > 0 && Find(column, row - 1)) return 2;
    return -1;
}

bool PanelGridModel::Select(int column, int row) {
    const int state = CellState(column, row);
    if (state != 1 && state != 2) return false;
    m_column = column;
    m_row = row;
    return true;
}

void PanelGridModel::ShiftColumn(int column, int fromRow, int by) {
    for (PanelGridCell& c : m_cells)
        if (c.column == column && c.row >= fromRow && !(c.column == 0 && c.row == 0)) c.row += by;
}

int PanelGridModel::MoveUp() {
    const int c = m_column, r = m_row;
    if (r == 0 || (c == 0 && r == 1)) return -1;
    PanelGridCell* upper = FindLive(c, r - 1);
    PanelGridCell* lower = FindLive(c, r);
    if (!upper || !lower) return -1;
    std::swap(upper->row, lower->row);
    m_row = r - 1;
    return 0;
}

int PanelGridModel::MoveDown() {
    const int c = m_column, r = m_row;
    if ((c == 0 && r == 0) || r >= kRowCapacity - 1) return -1;
    PanelGridCell* upper = FindLive(c, r);
    PanelGridCell* lower = FindLive(c, r + 1);
    if (!upper || !lower) return -1;
    std::swap(upper->row, lower->row);
    m_row = r + 1;
    return 0;
}

int PanelGridModel::Delete() {
    const int c = m_column, r = m_row;
    if (c == 0 && r == 0) return -1;
    PanelGridCell* cell = FindLive(c, r);
    if (!cell) return -1;
    cell->deleted = 1;
    ShiftColumn(c, r, -1);
    return 0;
}

int PanelGridModel::Change(const std::string& line) {
    if (m_column == 0 && m_row == 0) return -1;
    PanelGridCell* cell = FindLive(m_column, m_row);
    if (!cell) return -1;
    cell->text = line;
    return 0;
}

int PanelGridModel::Insert(const std::string& line) {
    const int c = m_column, r = m_row;
    if (c == 0 && r == 0) return -1;
    // A full column would push its last button out of the rows written back.
    if (FindLive(c, kRowCapacity - 1)) return -1;
    ShiftColumn(c, r, +1);
    PanelGridCell cell;
    cell.column = c;
    cell.row = r;
    cell.text = line;
    m_cells.push_back(cell);
    return 0;
}

int PanelGridModel::LastColumn() const {
    int last = 0;
    for (const PanelGridCell& c : m_cells)
        if (!c.deleted) last = std::max(last, c.column);
    return last;
}

std::vector<std::string> PanelGridModel::Entries() const {
    std::vector<std::string> out;
    // Every panel row is written, however many the grid shows.
    const int last = std::max(1, LastColumn());
    for (int column = 0; column <= last; ++column) {
        if (column > 0) out.push_back(kCmdPanelRowBreak);
        std::vector<const PanelGridCell*> cells;
        for (const PanelGridCell& c : m_cells)
            if (!c.deleted && c.column == column && !(column == 0 && c.row == 0) && c.row < kRowCapacity)
                cells.push_back(&c);
        std::sort(cells.begin(), cells.end(),
                  [](const PanelGridCell* a, const PanelGridCell* b) { return a->row < b->row; });
        for (const PanelGridCell* c : cells)
            if (!c->text.empty()) out.push_back(c->text);
    }
    return out;
}
