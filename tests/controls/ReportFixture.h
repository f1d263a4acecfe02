#pragma once
#include <QString>
#include <QStringList>
#include <gtest/gtest.h>
#include <deque>
#include <memory>

#include "ui/controls/ReportCtrl.h"

// Readable texts in test failures.
inline void PrintTo(const QString& str, std::ostream* pOut)
{
    *pOut << '"' << str.toStdString() << '"';
}

// The owner's record of a test row.
struct TestRow
{
    bool invalid = false;
    double sizeMB = 0.0;
    uint32_t sampleRate = 0;
    uint32_t channels = 0;
};

// A shown report list with the file list's eight columns.
class ReportFixture : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;

    // Inserts a row at the end: name, then the numbers behind columns 3, 6, 7
    // and their texts; other cells get texts derived from the name.
    int AddRow(const QString& strName, double dSizeMB = 1.0, uint32_t nRate = 44100, uint32_t nChannels = 2,
               bool bInvalid = false);
    QStringList ColumnTexts(int nColumn) const;

    // The user's actions.
    void ClickHeader(int nColumn);
    void ClickCell(int nRow, int nColumn, Qt::MouseButton button = Qt::LeftButton);
    void DoubleClickCell(int nRow, int nColumn);
    QPoint CellCentre(int nRow, int nColumn) const;

    std::unique_ptr<CReportCtrl> m_pList;
    std::deque<TestRow> m_rows;
};
