// Time of one full sort of a shown 10,000-row report list by a text column, a
// numeric column and a column full of ties, each including the one repaint.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QRandomGenerator>
#include <deque>
#include <memory>

#include "ui/controls/ReportCtrl.h"

namespace {

constexpr int kRows = 10000;
constexpr int kShuffleColumn = 4;

struct BenchRow
{
    double sizeMB;
    uint32_t sampleRate;
    uint32_t channels;
};

class PaintCounter : public QObject
{
public:
    int64_t m_nPaints = 0;
    bool eventFilter(QObject*, QEvent* pEvent) override
    {
        m_nPaints += pEvent->type() == QEvent::Paint;
        return false;
    }
};

struct BenchList
{
    CReportCtrl list;
    std::deque<BenchRow> rows;
    PaintCounter paints;

    BenchList()
    {
        const char* titles[] = {"Name", "Path", "Type", "Size(MB)", "Last Modified", "Duration", "Frequency", "Channel"};
        for (int c = 0; c < 8; ++c)
            list.InsertColumn(c, titles[c], c < 2 ? LVCFMT_LEFT : LVCFMT_RIGHT, 100);
        list.SetRowReader([](const void* p) {
            const auto* pRow = static_cast<const BenchRow*>(p);
            return ReportRowFields{false, pRow->sizeMB, pRow->sampleRate, pRow->channels};
        });
        list.SetSortable(true);
        const uint32_t rates[] = {22050, 32000, 44100, 48000, 96000};
        QRandomGenerator random(12345);
        for (int i = 0; i < kRows; ++i) {
            rows.push_back({random.bounded(50000) / 100.0, rates[random.bounded(5)], 1 + random.bounded(2u)});
            const int r = list.InsertItem(i, QString("Track %1 - %2.flac").arg(random.bounded(100000)).arg(i), &rows.back());
            list.SetItemText(r, 1, QString("/home/user/Music/Album %1/").arg(i / 12));
            list.SetItemText(r, 2, "FLAC");
            list.SetItemNumber(r, 3, rows.back().sizeMB, 2);
            list.SetItemText(r, kShuffleColumn, QString::number(random.generate()));
            list.SetItemText(r, 5, QString("00:%1:%2").arg(random.bounded(60), 2, 10, QChar('0')).arg(random.bounded(60), 2, 10, QChar('0')));
            list.SetItemText(r, 6, QString("%1 Hz").arg(rows.back().sampleRate));
            list.SetItemText(r, 7, QString::number(rows.back().channels));
        }
        list.SetItemStates(kRows / 2, RC_ITEM_SELECTED | RC_ITEM_FOCUSED);
        list.resize(1200, 700);
        list.show();
        QCoreApplication::processEvents();
        list.viewport()->installEventFilter(&paints);
    }

    void Shuffle()
    {
        list.SortKeys() = {{kShuffleColumn, 1}};
        list.SortItems(0, kRows - 1, false);
        QCoreApplication::processEvents();
    }
};

// Made in main, so the list goes before the application does.
BenchList* g_pList = nullptr;

BenchList& List()
{
    return *g_pList;
}

void SortBy(benchmark::State& state, std::vector<ColumnSortInfo> keys)
{
    BenchList& bench = List();
    int64_t nPaints = 0;
    for (auto _ : state) {
        state.PauseTiming();
        bench.Shuffle();
        bench.list.SortKeys() = keys;
        const int64_t nBefore = bench.paints.m_nPaints;
        state.ResumeTiming();
        bench.list.SortItems(0, kRows - 1, true);
        QCoreApplication::processEvents();
        state.PauseTiming();
        nPaints += bench.paints.m_nPaints - nBefore;
        state.ResumeTiming();
    }
    state.counters["repaints_per_sort"] = benchmark::Counter(static_cast<double>(nPaints) / state.iterations());
}

void BM_SortByName(benchmark::State& state)
{
    SortBy(state, {{0, 1}});
}
void BM_SortBySize(benchmark::State& state)
{
    SortBy(state, {{3, 0}, {0, 1}});
}
void BM_SortByFrequencyThenName(benchmark::State& state)
{
    SortBy(state, {{6, 1}, {0, 1}});
}

BENCHMARK(BM_SortByName)->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(BM_SortBySize)->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(BM_SortByFrequencyThenName)->Unit(benchmark::kMillisecond)->Iterations(20);

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    BenchList list;
    g_pList = &list;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
