// A dialog built from a template and run modally, with its controls, its
// command table, its window menu and its icon.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "Commands.h"
#include "Geometry.h"
#include "Templates.h"

namespace framework {

class ListControl;
class DialogWidget;

class Dialog {
public:
    explicit Dialog(const DialogTemplate& tmpl, Dialog* parent = nullptr);
    Dialog(const Dialog&) = delete;
    Dialog& operator=(const Dialog&) = delete;
    virtual ~Dialog();

    // Builds the window, runs OnInitDialog, shows it and runs its modal loop
    // until EndDialog; returns the result given there.
    int DoModal();
    void EndDialog(int result);
    bool IsRunning() const;

    const DialogTemplate& Template() const { return template_; }
    std::string Caption() const;

    // Controls, by number.
    bool HasControl(int id) const;
    void SetControlText(int id, const char* text);
    std::string ControlText(int id) const;
    void ShowControl(int id, bool show);
    bool IsControlVisible(int id) const;
    void EnableControl(int id, bool enable);
    bool IsControlEnabled(int id) const;
    // Check boxes and radio buttons.
    void SetCheck(int id, bool checked);
    bool IsChecked(int id) const;
    // Drop-down lists.
    int AddComboString(int id, const char* text);   // index of the new entry
    int ComboCount(int id) const;
    std::string ComboString(int id, int index) const;
    int ComboSelection(int id) const;               // -1: none
    void SetComboSelection(int id, int index);
    // The address entry: the dotted text and whether all four fields are blank.
    std::string AddressText(int id) const;
    void SetAddressText(int id, const char* text);
    bool IsAddressBlank(int id) const;
    void FocusControl(int id);
    ListControl& List(int id);
    // Position and size in client pixels.
    Rect ControlRect(int id) const;
    Rect ClientRect() const;
    bool IsMinimized() const;

    // Commands, notifications and messages through the window's command
    // table; what it does not handle falls back to the defaults.
    void SendCommand(int id);
    void SendNotify(const Notification& n);
    long SendMessage(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam);
    // The position of the pointer when the event being handled happened.
    Point CurrentMessagePos() const;

    // The window menu: the items a program appends, and a close item.
    bool HasSystemMenu() const;
    void AppendSystemMenuSeparator();
    void AppendSystemMenuItem(int command, const char* text);
    int SystemMenuItemCount() const;
    int SystemMenuItemCommand(int index) const;     // 0: separator
    std::string SystemMenuItemText(int index) const;
    void ShowSystemMenu(Point screen);
    // A window-menu command, as choosing its item gives it.
    void SendSysCommand(int command, long param = 0) { OnSysCommand(command, param); }

    void SetIcon(int iconId, bool big);
    int IconId(bool big) const;
    // Inside OnPaintMinimized only: draws an icon at a client position.
    void DrawIcon(int iconId, Point at);

    DialogWidget* Widget() const { return widget_.get(); }

protected:
    CommandTable& Commands() { return commands_; }

    virtual bool OnInitDialog() { return true; }
    virtual void OnOK() { EndDialog(kIdOk); }
    virtual void OnCancel() { EndDialog(kIdCancel); }
    // A close request: ends the dialog like Cancel.
    virtual void OnClose() { OnCancel(); }
    // Window-menu commands; the close item comes here as kScClose.
    virtual void OnSysCommand(int command, long param);
    // Painting while minimised, where the platform asks for it.
    virtual void OnPaintMinimized() {}

private:
    friend class DialogWidget;
    void Build();

    const DialogTemplate& template_;
    Dialog* parent_;
    CommandTable commands_;
    std::unique_ptr<DialogWidget> widget_;
    struct State;
    std::unique_ptr<State> state_;
};

// The platform's icon size (the system metrics of an icon).
inline constexpr int kSystemIconWidth = 32;
inline constexpr int kSystemIconHeight = 32;

// Where a minimised window draws its icon: centred in the client area, the
// divisions truncating.
Point CenteredIconPosition(const Rect& client, int iconWidth, int iconHeight);

}  // namespace framework
