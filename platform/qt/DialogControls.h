#pragma once
#include <QWidget>

#include "resources/DialogTemplates.h"

// Creates the Qt widget for one template control, with its text and styles
// applied; the caller places it (pixelSize is its size, for icons). Static texts are plain text (never rich
// text), progress bars run from 0 to 100 without a text, report lists are
// header-and-columns lists selecting whole rows.
QWidget* CreateDialogControl(const DialogControl& control, const QSize& pixelSize, QWidget* pParent);
