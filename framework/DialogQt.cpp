#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>

#include "Application.h"
#include "QtWidgets.h"

namespace framework {

namespace {

constexpr char kCloseItemText[] = "Close";

QString ToQString(const char* s)
{
    return QString::fromUtf8(s != nullptr ? s : "");
}

}  // namespace

struct Dialog::State {
    struct SystemItem {
        int command;
        std::string text;
    };
    std::vector<SystemItem> systemItems;
    int bigIcon = 0;
    int smallIcon = 0;
};

QFont DialogFont(const char* name, int pointSize)
{
    // "MS Shell Dlg" and its relatives are Windows' own; DejaVu Sans
    // Condensed comes closest to their metrics of the Linux sans fonts.
    QString family = ToQString(name);
    if (family.startsWith("MS Shell Dlg") || family == "MS Sans Serif" || family == "Tahoma" ||
        !QFontDatabase::hasFamily(family)) {
        family = "DejaVu Sans Condensed";
    }
    QFont font(family);
    font.setPointSize(pointSize);
    font.setStyleStrategy(QFont::PreferAntialias);
    return font;
}

DialogWidget::DialogWidget(Dialog& o, QWidget* parent) : QDialog(parent), owner(o) {}

QRect DialogWidget::DialogUnitsToPixels(int x, int y, int cx, int cy) const
{
    auto px = [this](int du) { return (du * baseUnitX + 2) / 4; };
    auto py = [this](int du) { return (du * baseUnitY + 4) / 8; };
    return QRect(px(x), py(y), px(cx), py(cy));
}

QWidget* DialogWidget::Control(int id) const
{
    const auto it = controls.find(id);
    return it == controls.end() ? nullptr : it->second;
}

void DialogWidget::keyPressEvent(QKeyEvent* event)
{
    const auto mods = event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    switch (event->key()) {
    case Qt::Key_Escape:
        owner.SendCommand(kIdCancel);
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        // A push button with the focus is pressed; otherwise Enter is OK.
        if (auto* button = dynamic_cast<QPushButton*>(focusWidget())) {
            button->click();
        } else {
            owner.SendCommand(kIdOk);
        }
        return;
    case Qt::Key_F1:
        if (mods == Qt::NoModifier) {
            owner.SendCommand(kIdHelp);
            return;
        }
        break;
    case Qt::Key_Space:
        if (mods == Qt::AltModifier) {
            const QPoint at = mapToGlobal(QPoint(0, 0));
            owner.ShowSystemMenu({at.x(), at.y()});
            return;
        }
        break;
    default: break;
    }
    QWidget::keyPressEvent(event);
}

void DialogWidget::closeEvent(QCloseEvent* event)
{
    // The window ends only through EndDialog; a close request is a command.
    event->ignore();
    if (inModalLoop) owner.OnSysCommand(kScClose, 0);
}

void DialogWidget::contextMenuEvent(QContextMenuEvent* event)
{
    // A right-click on the window's background opens its window menu.
    lastEventPos = event->globalPos();
    owner.ShowSystemMenu({event->globalPos().x(), event->globalPos().y()});
}

void DialogWidget::paintEvent(QPaintEvent* event)
{
    if (isMinimized()) {
        owner.OnPaintMinimized();
        return;
    }
    QDialog::paintEvent(event);
}

AddressEdit::AddressEdit(QWidget* parent) : QWidget(parent)
{
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(2, 0, 2, 0);
    layout->setSpacing(0);
    const auto* octet = new QRegularExpressionValidator(
        QRegularExpression("^(25[0-5]|2[0-4][0-9]|1[0-9][0-9]|[1-9]?[0-9])?$"), this);
    for (int i = 0; i < 4; ++i) {
        if (i != 0) layout->addWidget(new QLabel(".", this));
        fields_[i] = new QLineEdit(this);
        fields_[i]->setValidator(octet);
        fields_[i]->setFrame(false);
        fields_[i]->setAlignment(Qt::AlignCenter);
        fields_[i]->setMaxLength(3);
        layout->addWidget(fields_[i], 1);
    }
}

std::string AddressEdit::Text() const
{
    // A blank entry reads as no address at all; in a partly filled one the
    // blank fields count as 0, so it still reads as a whole dotted address.
    if (IsBlank()) return {};
    std::string text;
    for (int i = 0; i < 4; ++i) {
        if (i != 0) text += '.';
        const QString f = fields_[i]->text();
        text += f.isEmpty() ? std::string("0") : std::to_string(f.toInt());
    }
    return text;
}

void AddressEdit::SetText(const char* text)
{
    const QStringList parts = ToQString(text).split('.');
    for (int i = 0; i < 4; ++i) {
        fields_[i]->setText(parts.size() == 4 ? parts[i] : QString());
    }
}

bool AddressEdit::IsBlank() const
{
    for (QLineEdit* f : fields_) {
        if (!f->text().isEmpty()) return false;
    }
    return true;
}

Dialog::Dialog(const DialogTemplate& tmpl, Dialog* parent)
    : template_(tmpl), parent_(parent), state_(std::make_unique<State>())
{
}

Dialog::~Dialog() = default;

void Dialog::Build()
{
    QWidget* parentWidget = parent_ != nullptr ? parent_->widget_.get() : nullptr;
    widget_ = std::make_unique<DialogWidget>(*this, parentWidget);
    DialogWidget& w = *widget_;

    Qt::WindowFlags flags = Qt::Dialog | Qt::CustomizeWindowHint;
    if (template_.style & kCaption) flags |= Qt::WindowTitleHint;
    if (template_.style & kSystemMenu) flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    if (template_.style & kMinimizeBox) flags |= Qt::WindowMinimizeButtonHint;
    if (template_.style & kMaximizeBox) flags |= Qt::WindowMaximizeButtonHint;
    w.setWindowFlags(flags);
    w.setWindowTitle(ToQString(template_.caption));

    w.dialogFont = DialogFont(template_.fontName, template_.pointSize);
    w.setFont(w.dialogFont);
    const QFontMetrics fm(w.dialogFont);
    // Dialog base units: the average width of the alphabet, and the height.
    const int alphabet = fm.horizontalAdvance("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    w.baseUnitX = (alphabet / 26 + 1) / 2;
    w.baseUnitY = fm.height();

    const QRect size = w.DialogUnitsToPixels(0, 0, template_.cx, template_.cy);
    if (template_.style & kSizingBorder) {
        w.resize(size.width(), size.height());
    } else {
        w.setFixedSize(size.width(), size.height());
    }

    QButtonGroup* radioGroup = nullptr;
    for (const ControlTemplate& c : template_.controls) {
        QWidget* control = nullptr;
        const QString text = ToQString(c.text);
        if (c.kind != ControlKind::RadioButton) radioGroup = nullptr;
        switch (c.kind) {
        case ControlKind::ListView: {
            auto* view = new ListView(*this, c.id, &w);
            auto* model = new ListModel();
            model->setParent(view);
            view->setModel(model);
            if (c.style & kShowSelAlways) {
                // The selection stays as visible as with the focus.
                QPalette p = view->palette();
                p.setColor(QPalette::Inactive, QPalette::Highlight, p.color(QPalette::Active, QPalette::Highlight));
                p.setColor(QPalette::Inactive, QPalette::HighlightedText,
                           p.color(QPalette::Active, QPalette::HighlightedText));
                view->setPalette(p);
            }
            if (!(c.style & kBorder)) view->setFrameShape(QFrame::NoFrame);
            QObject::connect(view->selectionModel(), &QItemSelectionModel::currentRowChanged, view,
                             [this, id = c.id](const QModelIndex& current, const QModelIndex&) {
                                 Notification n;
                                 n.controlId = id;
                                 n.code = kLvnItemChanged;
                                 n.item = current.row();
                                 SendNotify(n);
                             });
            w.lists[c.id] = std::make_unique<ListControl>(view, model);
            control = view;
            break;
        }
        case ControlKind::Edit:
            if (c.style & kMultiLine) {
                auto* edit = new QPlainTextEdit(text, &w);
                edit->setReadOnly((c.style & kReadOnly) != 0);
                edit->setHorizontalScrollBarPolicy((c.style & kHScroll) ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAsNeeded);
                edit->setVerticalScrollBarPolicy((c.style & kVScroll) ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAsNeeded);
                edit->setLineWrapMode(QPlainTextEdit::NoWrap);
                control = edit;
            } else {
                auto* edit = new QLineEdit(text, &w);
                edit->setReadOnly((c.style & kReadOnly) != 0);
                if (c.style & kDigitsOnly) {
                    edit->setValidator(new QRegularExpressionValidator(QRegularExpression("^[0-9]*$"), edit));
                }
                control = edit;
            }
            break;
        case ControlKind::PushButton: {
            auto* button = new QPushButton(text, &w);
            button->setAutoDefault(false);
            QObject::connect(button, &QPushButton::clicked, button, [this, id = c.id] { SendCommand(id); });
            control = button;
            break;
        }
        case ControlKind::Static: {
            auto* label = new QLabel(text, &w);
            label->setTextFormat(Qt::PlainText);
            label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
            control = label;
            break;
        }
        case ControlKind::GroupBox:
            control = new QGroupBox(text, &w);
            break;
        case ControlKind::RadioButton: {
            auto* radio = new QRadioButton(text, &w);
            radio->setStyleSheet("QRadioButton { spacing: 3px; }");  // as tight as the templates assume
            // Radio buttons are exclusive within a group that starts at a
            // group style, as on the platform the templates come from.
            if (radioGroup == nullptr || (c.style & kGroup)) {
                radioGroup = new QButtonGroup(&w);
                w.radioGroups.push_back(radioGroup);
            }
            radioGroup->addButton(radio);
            QObject::connect(radio, &QRadioButton::clicked, radio, [this, id = c.id] { SendCommand(id); });
            control = radio;
            break;
        }
        case ControlKind::CheckBox: {
            auto* check = new QCheckBox(text, &w);
            check->setStyleSheet("QCheckBox { spacing: 3px; }");
            QObject::connect(check, &QCheckBox::clicked, check, [this, id = c.id] { SendCommand(id); });
            control = check;
            break;
        }
        case ControlKind::ComboBox:
            control = new QComboBox(&w);
            break;
        case ControlKind::IpAddress:
            control = new AddressEdit(&w);
            break;
        }
        control->setGeometry(w.DialogUnitsToPixels(c.x, c.y, c.cx, c.cy));
        if (c.kind == ControlKind::ComboBox) {
            // The template's height includes the opened list; the box itself
            // keeps its natural height.
            control->resize(control->width(), control->sizeHint().height());
        }
        control->setFocusPolicy((c.style & kTabStop) ? Qt::StrongFocus : Qt::ClickFocus);
        if (c.kind == ControlKind::Static || c.kind == ControlKind::GroupBox) control->setFocusPolicy(Qt::NoFocus);
        control->setEnabled(!(c.style & kDisabled));
        control->setVisible((c.style & kVisible) != 0);
        if (c.id >= 0) w.controls[c.id] = control;
    }
}

int Dialog::DoModal()
{
    Build();
    DialogWidget& w = *widget_;
    w.ended = false;
    w.inModalLoop = true;
    const bool defaultFocus = OnInitDialog();
    if (!w.ended) {
        if (defaultFocus) {
            for (const ControlTemplate& c : template_.controls) {
                QWidget* control = w.Control(c.id);
                if (control != nullptr && control->isVisibleTo(&w) && control->isEnabled() &&
                    control->focusPolicy() != Qt::NoFocus && (c.style & kTabStop)) {
                    control->setFocus();
                    break;
                }
            }
        }
        w.exec();
    }
    w.inModalLoop = false;
    return w.result;
}

void Dialog::EndDialog(int result)
{
    if (!widget_) return;
    widget_->result = result;
    widget_->ended = true;
    widget_->done(result);
}

bool Dialog::IsRunning() const
{
    return widget_ && widget_->inModalLoop && !widget_->ended;
}

std::string Dialog::Caption() const
{
    return widget_ ? widget_->windowTitle().toStdString() : std::string(template_.caption);
}

bool Dialog::HasControl(int id) const
{
    return widget_ && widget_->Control(id) != nullptr;
}

void Dialog::SetControlText(int id, const char* text)
{
    QWidget* c = widget_ ? widget_->Control(id) : nullptr;
    if (auto* e = dynamic_cast<QPlainTextEdit*>(c)) e->setPlainText(ToQString(text));
    else if (auto* l = dynamic_cast<QLineEdit*>(c)) l->setText(ToQString(text));
    else if (auto* b = dynamic_cast<QAbstractButton*>(c)) b->setText(ToQString(text));
    else if (auto* s = dynamic_cast<QLabel*>(c)) s->setText(ToQString(text));
    else if (auto* g = dynamic_cast<QGroupBox*>(c)) g->setTitle(ToQString(text));
    else if (auto* a = dynamic_cast<AddressEdit*>(c)) a->SetText(text);
}

std::string Dialog::ControlText(int id) const
{
    QWidget* c = widget_ ? widget_->Control(id) : nullptr;
    if (auto* e = dynamic_cast<QPlainTextEdit*>(c)) return e->toPlainText().toStdString();
    if (auto* l = dynamic_cast<QLineEdit*>(c)) return l->text().toStdString();
    if (auto* b = dynamic_cast<QAbstractButton*>(c)) return b->text().toStdString();
    if (auto* s = dynamic_cast<QLabel*>(c)) return s->text().toStdString();
    if (auto* g = dynamic_cast<QGroupBox*>(c)) return g->title().toStdString();
    if (auto* a = dynamic_cast<AddressEdit*>(c)) return a->Text();
    if (auto* cb = dynamic_cast<QComboBox*>(c)) return cb->currentText().toStdString();
    return {};
}

void Dialog::ShowControl(int id, bool show)
{
    if (QWidget* c = widget_ ? widget_->Control(id) : nullptr) c->setVisible(show);
}

bool Dialog::IsControlVisible(int id) const
{
    QWidget* c = widget_ ? widget_->Control(id) : nullptr;
    return c != nullptr && c->isVisibleTo(widget_.get());
}

void Dialog::EnableControl(int id, bool enable)
{
    if (QWidget* c = widget_ ? widget_->Control(id) : nullptr) c->setEnabled(enable);
}

bool Dialog::IsControlEnabled(int id) const
{
    QWidget* c = widget_ ? widget_->Control(id) : nullptr;
    return c != nullptr && c->isEnabled();
}

void Dialog::SetCheck(int id, bool checked)
{
    if (auto* b = dynamic_cast<QAbstractButton*>(widget_ ? widget_->Control(id) : nullptr)) b->setChecked(checked);
}

bool Dialog::IsChecked(int id) const
{
    auto* b = dynamic_cast<QAbstractButton*>(widget_ ? widget_->Control(id) : nullptr);
    return b != nullptr && b->isChecked();
}

int Dialog::AddComboString(int id, const char* text)
{
    auto* cb = dynamic_cast<QComboBox*>(widget_ ? widget_->Control(id) : nullptr);
    if (cb == nullptr) return -1;
    const QString t = ToQString(text);
    int at = cb->count();
    if (template_.controls.size() != 0) {
        for (const ControlTemplate& c : template_.controls) {
            if (c.id == id && (c.style & kSorted)) {
                // Sorted lists keep their entries in order, case-blind.
                at = 0;
                while (at < cb->count() && QString::compare(cb->itemText(at), t, Qt::CaseInsensitive) <= 0) ++at;
            }
        }
    }
    cb->insertItem(at, t);
    return at;
}

int Dialog::ComboCount(int id) const
{
    auto* cb = dynamic_cast<QComboBox*>(widget_ ? widget_->Control(id) : nullptr);
    return cb != nullptr ? cb->count() : 0;
}

std::string Dialog::ComboString(int id, int index) const
{
    auto* cb = dynamic_cast<QComboBox*>(widget_ ? widget_->Control(id) : nullptr);
    return cb != nullptr ? cb->itemText(index).toStdString() : std::string();
}

int Dialog::ComboSelection(int id) const
{
    auto* cb = dynamic_cast<QComboBox*>(widget_ ? widget_->Control(id) : nullptr);
    return cb != nullptr ? cb->currentIndex() : -1;
}

void Dialog::SetComboSelection(int id, int index)
{
    if (auto* cb = dynamic_cast<QComboBox*>(widget_ ? widget_->Control(id) : nullptr)) cb->setCurrentIndex(index);
}

std::string Dialog::AddressText(int id) const
{
    auto* a = dynamic_cast<AddressEdit*>(widget_ ? widget_->Control(id) : nullptr);
    return a != nullptr ? a->Text() : std::string();
}

void Dialog::SetAddressText(int id, const char* text)
{
    if (auto* a = dynamic_cast<AddressEdit*>(widget_ ? widget_->Control(id) : nullptr)) a->SetText(text);
}

bool Dialog::IsAddressBlank(int id) const
{
    auto* a = dynamic_cast<AddressEdit*>(widget_ ? widget_->Control(id) : nullptr);
    return a == nullptr || a->IsBlank();
}

void Dialog::FocusControl(int id)
{
    if (QWidget* c = widget_ ? widget_->Control(id) : nullptr) c->setFocus();
}

ListControl& Dialog::List(int id)
{
    return *widget_->lists.at(id);
}

Rect Dialog::ControlRect(int id) const
{
    QWidget* c = widget_ ? widget_->Control(id) : nullptr;
    if (c == nullptr) return {};
    const QRect g = c->geometry();
    return {g.left(), g.top(), g.left() + g.width(), g.top() + g.height()};
}

Rect Dialog::ClientRect() const
{
    if (!widget_) return {};
    return {0, 0, widget_->width(), widget_->height()};
}

bool Dialog::IsMinimized() const
{
    return widget_ && widget_->isMinimized();
}

void Dialog::SendCommand(int id)
{
    if (commands_.DispatchCommand(id)) return;
    if (id == kIdOk) {
        OnOK();
    } else if (id == kIdCancel) {
        OnCancel();
    } else if (Application* app = Application::Current()) {
        app->Commands().DispatchCommand(id);
    }
}

void Dialog::SendNotify(const Notification& n)
{
    commands_.DispatchNotify(n);
}

long Dialog::SendMessage(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam)
{
    commands_.DispatchMessage(message, wParam, lParam);
    return 0;
}

Point Dialog::CurrentMessagePos() const
{
    const QPoint p = widget_ && !widget_->lastEventPos.isNull() ? widget_->lastEventPos : QCursor::pos();
    return {p.x(), p.y()};
}

bool Dialog::HasSystemMenu() const
{
    return (template_.style & kSystemMenu) != 0;
}

void Dialog::AppendSystemMenuSeparator()
{
    state_->systemItems.push_back({0, {}});
}

void Dialog::AppendSystemMenuItem(int command, const char* text)
{
    state_->systemItems.push_back({command, text});
}

int Dialog::SystemMenuItemCount() const
{
    return static_cast<int>(state_->systemItems.size()) + 2;  // then a separator and the close item
}

int Dialog::SystemMenuItemCommand(int index) const
{
    const int n = static_cast<int>(state_->systemItems.size());
    if (index < n) return state_->systemItems[static_cast<std::size_t>(index)].command;
    return index == n ? 0 : kScClose;
}

std::string Dialog::SystemMenuItemText(int index) const
{
    const int n = static_cast<int>(state_->systemItems.size());
    if (index < n) return state_->systemItems[static_cast<std::size_t>(index)].text;
    return index == n ? std::string() : std::string(kCloseItemText);
}

void Dialog::ShowSystemMenu(Point screen)
{
    if (!HasSystemMenu() || !widget_) return;
    QMenu menu(widget_.get());
    for (int i = 0; i < SystemMenuItemCount(); ++i) {
        const int command = SystemMenuItemCommand(i);
        if (command == 0) {
            menu.addSeparator();
        } else {
            menu.addAction(QString::fromStdString(SystemMenuItemText(i)))->setData(command);
        }
    }
    if (QAction* chosen = menu.exec(QPoint(screen.x, screen.y))) {
        OnSysCommand(chosen->data().toInt(), 0);
    }
}

void Dialog::OnSysCommand(int command, long)
{
    if ((command & 0xFFF0) == kScClose) OnClose();
}

void Dialog::SetIcon(int iconId, bool big)
{
    (big ? state_->bigIcon : state_->smallIcon) = iconId;
    Application* app = Application::Current();
    const char* path = app != nullptr ? app->IconPath(iconId) : nullptr;
    if (widget_ && path != nullptr) widget_->setWindowIcon(QIcon(QString::fromUtf8(path)));
}

int Dialog::IconId(bool big) const
{
    return big ? state_->bigIcon : state_->smallIcon;
}

void Dialog::DrawIcon(int iconId, Point at)
{
    Application* app = Application::Current();
    const char* path = app != nullptr ? app->IconPath(iconId) : nullptr;
    if (!widget_ || path == nullptr) return;
    QPainter painter(widget_.get());
    QIcon(QString::fromUtf8(path)).paint(&painter, at.x, at.y, kSystemIconWidth, kSystemIconHeight);
}

Point CenteredIconPosition(const Rect& client, int iconWidth, int iconHeight)
{
    return {(client.Width() - iconWidth + 1) / 2, (client.Height() - iconHeight + 1) / 2};
}

}  // namespace framework
