#include <QPainter>

#include "Bars.h"
#include "QtWidgets.h"

namespace framework {

BarWidget::BarWidget(QWidget* parent) : QWidget(parent)
{
    // An empty bar must not hide or catch clicks meant for what lies under it.
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void BarWidget::paintEvent(QPaintEvent*)
{
    if (height() <= 0) return;
    QPainter painter(this);
    int x = 0;
    for (const auto& [width, text] : panes) {
        painter.drawText(QRect(x + 2, 0, width - 4, height()), Qt::AlignLeft | Qt::AlignVCenter, text);
        x += width;
    }
}

namespace {

BarWidget* CreateBar(Dialog& parent)
{
    if (parent.Widget() == nullptr) return nullptr;
    auto* bar = new BarWidget(parent.Widget());
    bar->lower();
    bar->show();
    return bar;
}

void Move(BarWidget* widget, const Rect& r)
{
    if (widget != nullptr) widget->setGeometry(r.left, r.top, r.Width(), r.Height());
}

Rect Geometry(const BarWidget* widget)
{
    if (widget == nullptr) return {};
    const QRect g = widget->geometry();
    return {g.left(), g.top(), g.left() + g.width(), g.top() + g.height()};
}

}  // namespace

ToolBar::ToolBar() = default;
ToolBar::~ToolBar() = default;

bool ToolBar::Create(Dialog& parent, std::uint32_t, int id)
{
    id_ = id;
    widget_ = CreateBar(parent);
    return widget_ != nullptr;
}

bool ToolBar::LoadToolBar(int)
{
    return false;
}

void ToolBar::MoveWindow(const Rect& r)
{
    Move(widget_, r);
}

Rect ToolBar::WindowRect() const
{
    return Geometry(widget_);
}

void ToolBar::EnableButton(int command, bool enable)
{
    for (Button& b : buttons_) {
        if (b.command == command) b.enabled = enable;
    }
}

StatusBar::StatusBar() = default;
StatusBar::~StatusBar() = default;

bool StatusBar::Create(Dialog& parent, std::uint32_t, int id)
{
    id_ = id;
    widget_ = CreateBar(parent);
    return widget_ != nullptr;
}

void StatusBar::SetPaneCount(int count)
{
    panes_.assign(static_cast<std::size_t>(std::max(count, 0)), Pane{0, kSbpsNormal, 0, {}});
    Relayout();
}

void StatusBar::SetPaneInfo(int index, int id, std::uint32_t style, int width)
{
    if (index < 0 || index >= PaneCount()) return;
    panes_[static_cast<std::size_t>(index)] = {id, style, width, panes_[static_cast<std::size_t>(index)].text};
    Relayout();
}

void StatusBar::SetPaneText(int index, const char* text)
{
    if (index < 0 || index >= PaneCount()) return;
    panes_[static_cast<std::size_t>(index)].text = text != nullptr ? text : "";
    Relayout();
}

std::string StatusBar::PaneText(int index) const
{
    if (index < 0 || index >= PaneCount()) return {};
    return panes_[static_cast<std::size_t>(index)].text;
}

int StatusBar::PaneWidth(int index) const
{
    if (index < 0 || index >= PaneCount()) return 0;
    return panes_[static_cast<std::size_t>(index)].width;
}

std::uint32_t StatusBar::PaneStyle(int index) const
{
    if (index < 0 || index >= PaneCount()) return 0;
    return panes_[static_cast<std::size_t>(index)].style;
}

void StatusBar::MoveWindow(const Rect& r)
{
    Move(widget_, r);
}

Rect StatusBar::WindowRect() const
{
    return Geometry(widget_);
}

void StatusBar::Relayout()
{
    if (widget_ == nullptr) return;
    widget_->panes.clear();
    for (const Pane& p : panes_) widget_->panes.emplace_back(p.width, QString::fromUtf8(p.text.c_str()));
    widget_->update();  // marked for redrawing; painted in the normal course
}

}  // namespace framework
