// The report-view list control: rows of text cells under column headings.
// Rows are kept compactly in a table model, so a million rows stay fast;
// nothing sorts them.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace framework {

enum class ColumnAlign { Left, Center, Right };

// Extended styles.
inline constexpr std::uint32_t kLvsExGridLines = 0x01;
inline constexpr std::uint32_t kLvsExHeaderDragDrop = 0x10;
inline constexpr std::uint32_t kLvsExFullRowSelect = 0x20;

class ListModel;
class ListView;

class ListControl {
public:
    ListControl(ListView* view, ListModel* model);
    ~ListControl();

    // A row at the position (past the end: at the end) with its first cell;
    // returns where it went.
    int InsertItem(int row, const char* text);
    // A column that does not exist does nothing.
    bool SetItemText(int row, int column, const char* text);
    void DeleteAllItems();
    int GetItemCount() const;
    int GetSelectedCount() const;
    bool IsSelected(int row) const;
    std::string GetItemText(int row, int column) const;
    void SelectRow(int row);

    void SetExtendedStyle(std::uint32_t styles);
    std::uint32_t GetExtendedStyle() const { return extendedStyle_; }

    int InsertColumn(int index, const char* heading, ColumnAlign align, int width);
    int ColumnCount() const;
    std::string ColumnHeading(int index) const;
    int ColumnWidth(int index) const;
    ColumnAlign ColumnAlignment(int index) const;

private:
    ListView* view_;
    ListModel* model_;
    std::uint32_t extendedStyle_ = 0;
};

}  // namespace framework
