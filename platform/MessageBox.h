#pragma once
#include <functional>
#include <string>

// Button sets, icons and results with the platform's values, so stored and
// compared codes read as they do elsewhere.
enum : unsigned
{
    MB_OK = 0x0,
    MB_OKCANCEL = 0x1,
    MB_YESNOCANCEL = 0x3,
    MB_YESNO = 0x4,
    MB_ICONERROR = 0x10,
    MB_ICONQUESTION = 0x20,
    MB_ICONWARNING = 0x30,
    MB_ICONINFORMATION = 0x40,
};

// Caption of the program's own message boxes.
inline constexpr char kMessageBoxCaption[] = "Kestrune";

enum : int
{
    IDOK = 1,
    IDCANCEL = 2,
    IDYES = 6,
    IDNO = 7,
};

// Shows a modal message box and returns the button chosen. Every box of the
// program goes through here: the windowed program installs a handler that
// runs the box on the user-interface thread, tests install scripted answers,
// and without a handler the text is printed on standard error and the
// default answer (the first button) returned.
int ShowMessageBox(const std::string& strText, const std::string& strCaption, unsigned nType);

using MessageBoxHandler = std::function<int(const std::string& strText, const std::string& strCaption, unsigned nType)>;

// Installs a handler and returns the one it replaces (empty for the default).
MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler fnHandler);
