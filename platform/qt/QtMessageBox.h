#pragma once
#include <QString>
#include <functional>

#include "platform/MessageBox.h"

// Message boxes of the windowed program (platform/MessageBox.h) on Qt.

// Shows the box now, on the calling (user-interface) thread, over the active
// window: nType holds one MB_OK / MB_OKCANCEL / MB_YESNO / MB_YESNOCANCEL
// button set and one MB_ICON* icon; returns IDOK, IDCANCEL, IDYES or IDNO.
// Closing the box without a button gives IDCANCEL, or IDNO for Yes/No.
// An empty caption shows the application's name.
int ShowQtMessageBox(const QString& strText, const QString& strCaption, unsigned nType);

// Whatever presents a box on the user-interface thread: ShowQtMessageBox,
// or scripted answers in tests.
using MessageBoxPresenter = std::function<int(const QString& strText, const QString& strCaption, unsigned nType)>;

// Installs the ShowMessageBox handler: every box, asked from any thread, is
// presented on the user-interface thread (the QApplication's), directly when
// asked there and otherwise through a blocking queued call, so a worker
// waits for the answer while the windows stay responsive. An empty presenter
// means ShowQtMessageBox. Returns the handler it replaced.
MessageBoxHandler InstallQtMessageBoxes(MessageBoxPresenter fnPresenter = {});
