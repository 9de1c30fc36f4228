// Reading the lists that arrive with suite commands: a 64 KiB payload
// decoded, and item lists of thousands of paths split and joined, as a
// receiver does when a browser hands over a large selection.
#include <benchmark/benchmark.h>

#include <string>

#include "core/item_list.h"
#include "core/suite_payload.h"

namespace {

std::string MakeItemList(int count) {
  std::string list;
  for (int i = 0; i < count; ++i) {
    if (i) list.push_back('|');
    list += "C:\\Documents and Settings\\user\\My Pictures\\holiday\\img_" + std::to_string(i) +
            ".jpg";
  }
  return list;
}

void BM_DecodePayload(benchmark::State& state) {
  std::string wire = suite::EncodeSuitePayload(std::string(state.range(0), 'x'));
  for (auto _ : state) {
    std::string text = suite::DecodeSuitePayload(static_cast<uint32_t>(state.range(0)),
                                                 wire.data(), static_cast<uint32_t>(wire.size()));
    benchmark::DoNotOptimize(text);
  }
  state.SetBytesProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_DecodePayload)->Arg(64 * 1024)->Arg(1 << 20);

void BM_SplitItemList(benchmark::State& state) {
  std::string list = MakeItemList(static_cast<int>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(suite::SplitItemList(list));
  state.SetBytesProcessed(state.iterations() * list.size());
}
BENCHMARK(BM_SplitItemList)->Arg(1000)->Arg(20000);

// Field-by-field reading, as the receivers walk a list with ItemField(n).
void BM_ItemFieldWalk(benchmark::State& state) {
  std::string list = MakeItemList(static_cast<int>(state.range(0)));
  size_t count = suite::ItemFieldCount(list);
  for (auto _ : state) {
    for (size_t n = 1; n <= count; ++n) benchmark::DoNotOptimize(suite::ItemField(list, n));
  }
  state.SetItemsProcessed(state.iterations() * count);
}
BENCHMARK(BM_ItemFieldWalk)->Arg(1000)->Arg(5000);

void BM_JoinQueue(benchmark::State& state) {
  std::string addition = MakeItemList(10);
  for (auto _ : state) {
    std::string queue;
    for (int i = 0; i < state.range(0); ++i) queue = suite::JoinItemLists(queue, addition);
    benchmark::DoNotOptimize(queue);
  }
}
BENCHMARK(BM_JoinQueue)->Arg(100);

void BM_SplitCommaList(benchmark::State& state) {
  std::string list;
  for (int i = 0; i < state.range(0); ++i) list += "\"C:\\a,b\\file" + std::to_string(i) + "\",";
  for (auto _ : state) benchmark::DoNotOptimize(suite::SplitCommaList(list));
  state.SetBytesProcessed(state.iterations() * list.size());
}
BENCHMARK(BM_SplitCommaList)->Arg(10000);

}  // namespace
