// Listing and searching a chart book of 100,000 people (the window lists and searches on every
// keystroke, so these bound how large a book stays responsive).
// Run by hand:  cmake -S . -B build-bench -G Ninja -DVANTORA_BENCH=ON -DVANTORA_GUI=OFF -DVANTORA_TESTS=OFF
//               cmake --build build-bench && build-bench/bin/vantora_book_bench
#include "book/book.hpp"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>

namespace {

using namespace vantora::book;

constexpr int kPeople = 100000;

/// A book of kPeople made-up people, built once for every benchmark.
Book& hundred_thousand() {
    static QTemporaryDir dir;
    static std::unique_ptr<Book> book = [] {
        auto opened = Book::open(dir.filePath(QStringLiteral("bench.sqlite3")));
        if (!std::holds_alternative<std::unique_ptr<Book>>(opened)) std::abort();
        auto made = std::move(std::get<std::unique_ptr<Book>>(opened));
        std::vector<Record> people;
        for (int i = 0; i < kPeople; ++i) {
            Entry e{"人" + std::to_string(i),
                    "ひと" + std::to_string(i % 1000),
                    i % 7 ? "" : "京都の友人",
                    1900 + i % 200,
                    1 + i % 12,
                    1 + i % 28,
                    std::to_string(i % 24),
                    std::to_string(i % 60),
                    i % 2 ? vantora::Sex::male : vantora::Sex::female,
                    "0",
                    "0",
                    ""};
            people.push_back({0, std::move(e), {}, {}});
        }
        if (!std::holds_alternative<ImportCount>(made->import_records(people))) std::abort();
        return made;
    }();
    return *book;
}

void BM_ListEveryone(benchmark::State& state) {
    Book& book = hundred_thousand();
    for (auto _ : state) benchmark::DoNotOptimize(book.list());
}
BENCHMARK(BM_ListEveryone)->Unit(benchmark::kMillisecond);

/// Searches that match one person, a thousandth, a seventh and nobody.
void BM_Search(benchmark::State& state) {
    static const char* const texts[] = {"人12345", "ひと999", "京都", "大阪"};
    Book& book = hundred_thousand();
    const char* text = texts[state.range(0)];
    for (auto _ : state) benchmark::DoNotOptimize(book.search(text));
    state.SetLabel(text);
}
BENCHMARK(BM_Search)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv); // Qt SQL loads its driver as a plugin
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
