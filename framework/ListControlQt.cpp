#include <QContextMenuEvent>
#include <QHeaderView>
#include <QMouseEvent>

#include <cstring>

#include "QtWidgets.h"

namespace framework {

namespace {

// Cells of a row: each is a two-byte length, then its bytes.
std::string_view CellOf(const std::string& row, int column)
{
    std::size_t at = 0;
    for (int c = 0; at + 2 <= row.size(); ++c) {
        const std::size_t len = static_cast<unsigned char>(row[at]) | static_cast<unsigned char>(row[at + 1]) << 8;
        if (c == column) return std::string_view(row).substr(at + 2, len);
        at += 2 + len;
    }
    return {};
}

std::string EncodeCells(const std::vector<std::string_view>& cells)
{
    std::string row;
    for (std::string_view c : cells) {
        const std::size_t len = std::min<std::size_t>(c.size(), 0xFFFF);
        row.push_back(static_cast<char>(len & 0xFF));
        row.push_back(static_cast<char>(len >> 8));
        row.append(c.substr(0, len));
    }
    return row;
}

std::vector<std::string_view> DecodeCells(const std::string& row, int columns)
{
    std::vector<std::string_view> cells(static_cast<std::size_t>(columns));
    for (int c = 0; c < columns; ++c) cells[static_cast<std::size_t>(c)] = CellOf(row, c);
    return cells;
}

Qt::Alignment ToQt(ColumnAlign a)
{
    switch (a) {
    case ColumnAlign::Center: return Qt::AlignHCenter | Qt::AlignVCenter;
    case ColumnAlign::Right: return Qt::AlignRight | Qt::AlignVCenter;
    case ColumnAlign::Left: break;
    }
    return Qt::AlignLeft | Qt::AlignVCenter;
}

}  // namespace

int ListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int ListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(columns_.size());
}

QVariant ListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid()) return {};
    if (role == Qt::DisplayRole) {
        const std::string_view cell = CellOf(rows_[static_cast<std::size_t>(index.row())], index.column());
        return QString::fromUtf8(cell.data(), static_cast<qsizetype>(cell.size()));
    }
    if (role == Qt::TextAlignmentRole) {
        return QVariant::fromValue(ToQt(columns_[static_cast<std::size_t>(index.column())].align));
    }
    return {};
}

QVariant ListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= static_cast<int>(columns_.size())) return {};
    const Column& c = columns_[static_cast<std::size_t>(section)];
    if (role == Qt::DisplayRole) return QString::fromUtf8(c.heading.c_str());
    if (role == Qt::TextAlignmentRole) return QVariant::fromValue(ToQt(c.align));
    return {};
}

int ListModel::InsertRow(int row, const char* text)
{
    const int count = static_cast<int>(rows_.size());
    if (row < 0 || row > count) row = count;
    std::vector<std::string_view> cells(std::max<std::size_t>(columns_.size(), 1));
    cells[0] = text;
    beginInsertRows(QModelIndex(), row, row);
    rows_.insert(rows_.begin() + row, EncodeCells(cells));
    endInsertRows();
    return row;
}

bool ListModel::SetCell(int row, int column, const char* text)
{
    if (row < 0 || row >= static_cast<int>(rows_.size())) return false;
    if (column < 0 || column >= std::max(static_cast<int>(columns_.size()), 1)) return false;
    std::string& stored = rows_[static_cast<std::size_t>(row)];
    std::vector<std::string_view> cells = DecodeCells(stored, std::max(static_cast<int>(columns_.size()), 1));
    cells[static_cast<std::size_t>(column)] = text;
    stored = EncodeCells(cells);
    const QModelIndex i = index(row, column);
    emit dataChanged(i, i, {Qt::DisplayRole});
    return true;
}

std::string ListModel::Cell(int row, int column) const
{
    if (row < 0 || row >= static_cast<int>(rows_.size())) return {};
    return std::string(CellOf(rows_[static_cast<std::size_t>(row)], column));
}

void ListModel::Clear()
{
    if (rows_.empty()) return;
    beginResetModel();
    rows_.clear();
    rows_.shrink_to_fit();
    endResetModel();
}

int ListModel::InsertColumn(int index, Column column)
{
    const int count = static_cast<int>(columns_.size());
    if (index < 0 || index > count) index = count;
    beginInsertColumns(QModelIndex(), index, index);
    // Rows hold one cell per column, and one before the first column exists;
    // that one becomes the first column's.
    if (count > 0) {
        for (std::string& row : rows_) {
            std::vector<std::string_view> cells = DecodeCells(row, count);
            cells.insert(cells.begin() + index, std::string_view());
            row = EncodeCells(cells);
        }
    }
    columns_.insert(columns_.begin() + index, std::move(column));
    endInsertColumns();
    return index;
}

ListView::ListView(Dialog& owner, int id, QWidget* parent) : QTableView(parent), owner_(owner), id_(id)
{
    verticalHeader()->hide();
    // Fixed, uniform row heights: the view never measures rows one by one.
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setSectionsClickable(false);
    horizontalHeader()->setStretchLastSection(false);
    setSortingEnabled(false);
    setWordWrap(false);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setShowGrid(false);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
}

void ListView::ApplyExtendedStyle(std::uint32_t styles)
{
    setShowGrid((styles & kLvsExGridLines) != 0);
    horizontalHeader()->setSectionsMovable((styles & kLvsExHeaderDragDrop) != 0);
    setSelectionBehavior((styles & kLvsExFullRowSelect) != 0 ? QAbstractItemView::SelectRows
                                                           : QAbstractItemView::SelectItems);
}

void ListView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::RightButton) {
        // Like the platform's list, a right-click first selects the row.
        const QModelIndex at = indexAt(event->position().toPoint());
        if (at.isValid()) {
            setCurrentIndex(at);
            selectionModel()->select(at, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        }
        event->accept();
        return;
    }
    QTableView::mousePressEvent(event);
}

void ListView::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::RightButton) {
        const QModelIndex at = indexAt(event->position().toPoint());
        Notification n;
        n.controlId = id_;
        n.code = kNmRightClick;
        n.item = at.isValid() ? at.row() : -1;
        const QPoint global = event->globalPosition().toPoint();
        n.screen = {global.x(), global.y()};
        owner_.Widget()->lastEventPos = global;
        owner_.SendNotify(n);
        event->accept();
        return;
    }
    QTableView::mouseReleaseEvent(event);
}

void ListView::contextMenuEvent(QContextMenuEvent* event)
{
    event->accept();  // the right-click notification stands for it
}

ListControl::ListControl(ListView* view, ListModel* model) : view_(view), model_(model) {}

ListControl::~ListControl() = default;

int ListControl::InsertItem(int row, const char* text)
{
    return model_->InsertRow(row, text);
}

bool ListControl::SetItemText(int row, int column, const char* text)
{
    if (column >= model_->columnCount()) return false;
    return model_->SetCell(row, column, text);
}

void ListControl::DeleteAllItems()
{
    model_->Clear();
}

int ListControl::GetItemCount() const
{
    return model_->rowCount();
}

int ListControl::GetSelectedCount() const
{
    return static_cast<int>(view_->selectionModel()->selectedRows().size());
}

bool ListControl::IsSelected(int row) const
{
    return view_->selectionModel()->isRowSelected(row, QModelIndex());
}

std::string ListControl::GetItemText(int row, int column) const
{
    return model_->Cell(row, column);
}

void ListControl::SelectRow(int row)
{
    const QModelIndex at = model_->index(row, 0);
    if (!at.isValid()) {
        view_->clearSelection();
        return;
    }
    view_->setCurrentIndex(at);
    view_->selectionModel()->select(at, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

void ListControl::SetExtendedStyle(std::uint32_t styles)
{
    extendedStyle_ = styles;
    view_->ApplyExtendedStyle(styles);
}

int ListControl::InsertColumn(int index, const char* heading, ColumnAlign align, int width)
{
    const int at = model_->InsertColumn(index, {heading, align, width});
    view_->setColumnWidth(at, width);
    return at;
}

int ListControl::ColumnCount() const
{
    return model_->columnCount();
}

std::string ListControl::ColumnHeading(int index) const
{
    if (index < 0 || index >= ColumnCount()) return {};
    return model_->Columns()[static_cast<std::size_t>(index)].heading;
}

int ListControl::ColumnWidth(int index) const
{
    return view_->columnWidth(index);
}

ColumnAlign ListControl::ColumnAlignment(int index) const
{
    if (index < 0 || index >= ColumnCount()) return ColumnAlign::Left;
    return model_->Columns()[static_cast<std::size_t>(index)].align;
}

}  // namespace framework
