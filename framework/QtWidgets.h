// Inside the layer only (and its tests): the Qt widgets behind the windows.
#pragma once

#include <QAbstractTableModel>
#include <QDialog>
#include <QFont>
#include <QTableView>
#include <QWidget>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "Dialog.h"
#include "ListControl.h"

class QButtonGroup;
class QLineEdit;

namespace framework {

// Rows of text cells. Each row is one string of length-prefixed cells, so a
// row costs one allocation however many columns it has.
class ListModel final : public QAbstractTableModel {
public:
    struct Column {
        std::string heading;
        ColumnAlign align;
        int width;
    };

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    int InsertRow(int row, const char* text);
    bool SetCell(int row, int column, const char* text);
    std::string Cell(int row, int column) const;
    void Clear();
    int InsertColumn(int index, Column column);
    const std::vector<Column>& Columns() const { return columns_; }

private:
    std::vector<std::string> rows_;
    std::vector<Column> columns_;
};

class ListView final : public QTableView {
public:
    ListView(Dialog& owner, int id, QWidget* parent);
    void ApplyExtendedStyle(std::uint32_t styles);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    Dialog& owner_;
    int id_;
};

// Four dotted fields of 0 to 255.
class AddressEdit final : public QWidget {
public:
    explicit AddressEdit(QWidget* parent);
    std::string Text() const;
    void SetText(const char* text);
    bool IsBlank() const;
    QLineEdit* Field(int i) const { return fields_[i]; }

private:
    QLineEdit* fields_[4];
};

// A control bar: a strip that draws its panes' texts.
class BarWidget final : public QWidget {
public:
    explicit BarWidget(QWidget* parent);
    std::vector<std::pair<int, QString>> panes;  // width and text

protected:
    void paintEvent(QPaintEvent* event) override;
};

class DialogWidget final : public QDialog {
public:
    DialogWidget(Dialog& owner, QWidget* parent);

    QRect DialogUnitsToPixels(int x, int y, int cx, int cy) const;
    QWidget* Control(int id) const;

    Dialog& owner;
    QFont dialogFont;
    int baseUnitX = 6;
    int baseUnitY = 13;
    std::map<int, QWidget*> controls;
    std::map<int, std::unique_ptr<ListControl>> lists;
    std::vector<QButtonGroup*> radioGroups;
    int result = kIdCancel;
    bool ended = false;
    bool inModalLoop = false;
    QPoint lastEventPos;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
};

// The sans font whose metrics are closest to the dialog font a template
// names ("MS Shell Dlg" is not on Linux).
QFont DialogFont(const char* name, int pointSize);

}  // namespace framework
