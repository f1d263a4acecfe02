#pragma once
#include <QFont>
#include <QRect>
#include <QSize>

#include "resources/DialogTemplates.h"

// Dialog units: a quarter of the dialog font's average character width
// horizontally, an eighth of its height vertically, so templates keep their
// proportions with any font.

// The template's font on this system: the system's UI font at the template's
// point size (the designed face is a Windows one).
QFont DialogFont(const DialogTemplate& dlg);

// Average character width (over A-Z and a-z, rounded) and height in pixels.
QSize DialogBaseUnits(const QFont& font);

// Dialog units to pixels, rounding to the nearest pixel.
int DialogUnitsToPixelsX(int nUnits, const QSize& baseUnits);
int DialogUnitsToPixelsY(int nUnits, const QSize& baseUnits);
QRect MapDialogRect(const DialogRect& rect, const QSize& baseUnits);
