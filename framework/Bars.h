// Toolbar and status bar control bars, children of a dialog.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "Geometry.h"

namespace framework {

class Dialog;
class BarWidget;

class ToolBar {
public:
    ToolBar();
    ~ToolBar();
    bool Create(Dialog& parent, std::uint32_t style, int id);
    // Buttons come from a toolbar resource; this program carries none, so
    // the load fails and the bar stays empty.
    bool LoadToolBar(int resourceId);
    void MoveWindow(const Rect& r);
    Rect WindowRect() const;
    int Id() const { return id_; }
    int ButtonCount() const { return static_cast<int>(buttons_.size()); }
    // Does nothing for a command without a button.
    void EnableButton(int command, bool enable);

private:
    struct Button {
        int command;
        bool enabled;
    };
    std::vector<Button> buttons_;
    int id_ = 0;
    BarWidget* widget_ = nullptr;  // owned by the dialog's window
};

inline constexpr std::uint32_t kSbpsNormal = 0x0000;
inline constexpr std::uint32_t kSbpsStretch = 0x0800;

class StatusBar {
public:
    StatusBar();
    ~StatusBar();
    bool Create(Dialog& parent, std::uint32_t style, int id);
    void SetPaneCount(int count);
    int PaneCount() const { return static_cast<int>(panes_.size()); }
    void SetPaneInfo(int index, int id, std::uint32_t style, int width);
    void SetPaneText(int index, const char* text);
    std::string PaneText(int index) const;
    int PaneWidth(int index) const;
    std::uint32_t PaneStyle(int index) const;
    void MoveWindow(const Rect& r);
    Rect WindowRect() const;
    int Id() const { return id_; }

private:
    struct Pane {
        int id;
        std::uint32_t style;
        int width;
        std::string text;
    };
    void Relayout();
    std::vector<Pane> panes_;
    int id_ = 0;
    BarWidget* widget_ = nullptr;  // owned by the dialog's window
};

}  // namespace framework
