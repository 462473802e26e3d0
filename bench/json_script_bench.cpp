// The JSON reader against plain nlohmann parsing: Parse + 20 x 4 GetText of a
// typical 20-song search answer and of a 1 MB answer. Prints the overhead
// ratio (reader time / plain time) after the table.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <nlohmann/json.hpp>
#include <string>

#include "client/search/json_script.h"

namespace {

std::string Answer(size_t songs) {
    std::string text = R"({"code":200,"error":"","data":[)";
    for (size_t i = 0; i < songs; ++i) {
        const std::string n = std::to_string(i);
        if (i > 0)
            text += ",";
        text += R"({"type":"qq","link":"http://y.example/song/)" + n + R"(","songid":)" + n +
                R"(,"title":"晴天 )" + n +
                R"(","author":"周杰伦","lrc":"[00:00.00]晴天\n[00:01.00]词：周杰伦",)"
                R"("url":"http://music.example/stream/)" +
                n + R"(.mp3","pic":"http://music.example/cover/)" + n + R"(.jpg"})";
    }
    return text + "]}";
}

const std::string& SmallAnswer() {
    static const std::string text = Answer(20);
    return text;
}

const std::string& LargeAnswer() {
    static const std::string text = [] {
        size_t songs = 20;
        while (Answer(songs).size() < (1u << 20))
            songs *= 2;
        return Answer(songs);
    }();
    return text;
}

constexpr const char* kFields[] = {"title", "author", "url", "pic"};

void ReadWithJsonScript(benchmark::State& state, const std::string& text) {
    vinylo::client::JsonScript json;
    for (auto _ : state) {
        bool ok = json.Parse(text);
        benchmark::DoNotOptimize(ok);
        for (int i = 0; i < 20; ++i) {
            const std::string prefix = "data[" + std::to_string(i) + "].";
            for (const char* field : kFields) {
                std::string value = json.GetText(prefix + field);
                benchmark::DoNotOptimize(value);
            }
        }
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}

void ReadWithNlohmann(benchmark::State& state, const std::string& text) {
    for (auto _ : state) {
        const auto json = nlohmann::ordered_json::parse(text, nullptr, false);
        const auto& data = json["data"];
        for (size_t i = 0; i < 20; ++i) {
            for (const char* field : kFields) {
                std::string value = data[i][field].get<std::string>();
                benchmark::DoNotOptimize(value);
            }
        }
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}

void BM_JsonScript_20Songs(benchmark::State& s) {
    ReadWithJsonScript(s, SmallAnswer());
}
void BM_Nlohmann_20Songs(benchmark::State& s) {
    ReadWithNlohmann(s, SmallAnswer());
}
void BM_JsonScript_1MB(benchmark::State& s) {
    ReadWithJsonScript(s, LargeAnswer());
}
void BM_Nlohmann_1MB(benchmark::State& s) {
    ReadWithNlohmann(s, LargeAnswer());
}

BENCHMARK(BM_JsonScript_20Songs);
BENCHMARK(BM_Nlohmann_20Songs);
BENCHMARK(BM_JsonScript_1MB)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Nlohmann_1MB)->Unit(benchmark::kMillisecond);

// Keeps each run's time so the ratios can be printed at the end.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const auto& run : runs) {
            if (run.run_type == Run::RT_Iteration)
                times_[run.benchmark_name()] = run.GetAdjustedRealTime();
        }
        ConsoleReporter::ReportRuns(runs);
    }
    void PrintRatio(const char* label, const std::string& ours, const std::string& plain) const {
        const auto a = times_.find(ours);
        const auto b = times_.find(plain);
        if (a == times_.end() || b == times_.end() || b->second <= 0)
            return;
        std::printf("%-10s JsonScript / plain nlohmann = %.2f\n", label, a->second / b->second);
    }

private:
    std::map<std::string, double> times_;
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    std::printf("answers: 20 songs = %zu bytes, large = %zu bytes\n", SmallAnswer().size(),
                LargeAnswer().size());
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintRatio("20 songs", "BM_JsonScript_20Songs", "BM_Nlohmann_20Songs");
    reporter.PrintRatio("1 MB", "BM_JsonScript_1MB", "BM_Nlohmann_1MB");
    return 0;
}
