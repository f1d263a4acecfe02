#include "tests/controls/ReportFixture.h"

#include <QHeaderView>
#include <QTest>

#include "tests/support_qt/QtTestApp.h"

namespace {
const char* const kTitles[] = {"Name", "Path", "Type", "Size(MB)", "Last Modified", "Duration", "Frequency", "Channel"};
const int kFormats[] = {LVCFMT_LEFT, LVCFMT_LEFT, LVCFMT_RIGHT, LVCFMT_RIGHT,
                        LVCFMT_RIGHT, LVCFMT_RIGHT, LVCFMT_RIGHT, LVCFMT_RIGHT};
const int kWidths[] = {150, 150, 65, 85, 120, 88, 96, 88};
}  // namespace

void ReportFixture::SetUp()
{
    TestApplication();
    m_pList = std::make_unique<CReportCtrl>();
    m_pList->SetRowReader([](const void* p) {
        const auto* pRow = static_cast<const TestRow*>(p);
        return pRow ? ReportRowFields{pRow->invalid, pRow->sizeMB, pRow->sampleRate, pRow->channels}
                    : ReportRowFields{};
    });
    m_pList->SetExtendedStyle(LVS_EX_HEADERDRAGDROP);
    for (int c = 0; c < 8; ++c)
        m_pList->InsertColumn(c, kTitles[c], kFormats[c], kWidths[c]);
    m_pList->SetSortable(true);
    m_pList->resize(900, 300);
    m_pList->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(m_pList.get()));
}

void ReportFixture::TearDown()
{
    m_pList.reset();
}

int ReportFixture::AddRow(const QString& strName, double dSizeMB, uint32_t nRate, uint32_t nChannels, bool bInvalid)
{
    m_rows.push_back(TestRow{bInvalid, dSizeMB, nRate, nChannels});
    const int nRow = m_pList->InsertItem(m_pList->GetItemCount(), strName, &m_rows.back());
    m_pList->SetItemText(nRow, 1, "/music/");
    m_pList->SetItemText(nRow, 2, "FLAC");
    m_pList->SetItemNumber(nRow, 3, dSizeMB, 2);
    m_pList->SetItemText(nRow, 6, QString("%1 Hz").arg(nRate));
    m_pList->SetItemText(nRow, 7, QString::number(nChannels));
    return nRow;
}

QStringList ReportFixture::ColumnTexts(int nColumn) const
{
    QStringList texts;
    for (int r = 0; r < m_pList->GetItemCount(); ++r)
        texts << m_pList->GetItemText(r, nColumn);
    return texts;
}

void ReportFixture::ClickHeader(int nColumn)
{
    QHeaderView* pHeader = m_pList->header();
    const QPoint pos(pHeader->sectionViewportPosition(nColumn) + pHeader->sectionSize(nColumn) / 2,
                     pHeader->height() / 2);
    QTest::mouseClick(pHeader->viewport(), Qt::LeftButton, {}, pos);
}

QPoint ReportFixture::CellCentre(int nRow, int nColumn) const
{
    return m_pList->visualRect(m_pList->model()->index(nRow, nColumn)).center();
}

void ReportFixture::ClickCell(int nRow, int nColumn, Qt::MouseButton button)
{
    QTest::mouseClick(m_pList->viewport(), button, {}, CellCentre(nRow, nColumn));
}

void ReportFixture::DoubleClickCell(int nRow, int nColumn)
{
    // The sequence a widget sees: press, release, double click, release.
    const QPoint pos = CellCentre(nRow, nColumn);
    QTest::mouseClick(m_pList->viewport(), Qt::LeftButton, {}, pos);
    QTest::mouseDClick(m_pList->viewport(), Qt::LeftButton, {}, pos);
    QTest::mouseRelease(m_pList->viewport(), Qt::LeftButton, {}, pos);
}
