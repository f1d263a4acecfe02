#pragma once
#include <QColor>
#include <QString>

class CReportCtrl;

// The conversion log of the progress window: one numbered, time-stamped line
// per report of the batch, coloured by its kind on striped rows. Lines are
// only ever appended or all cleared, so a row's stripe follows its index.
class CConvLog
{
public:
    enum Column : int
    {
        kKindColumn = 0,  // hidden; the row's data holds the kind
        kNumberColumn = 1,
        kTimeColumn = 2,
        kDescriptionColumn = 3,
    };

    explicit CConvLog(CReportCtrl& list);

    // Columns and appearance; once, before the first line.
    void SetUp();

    // Appends a line numbered on from the last line of the program run (the
    // count survives Clear and later batches) and scrolls it into view.
    void AddLine(const QString& strText, int nKind);

    // Empties the list; the numbering goes on.
    void Clear();

    // Sizes the log's text column to its longest text (narrower, too).
    void FitDescription();

    // The kind stored with a row.
    int LineKind(int nRow) const;

    // Text colour of a kind; invalid (the list's default) for unknown kinds.
    static QColor KindColour(int nKind);
    static QColor RowBackground(int nRow);

private:
    // Colours of one row: background by its index, text by its kind.
    void OnCustomDrawLog(int nRow);

    CReportCtrl& m_list;
};
