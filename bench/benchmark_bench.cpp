// The benchmark's own costs: one worker's chain, directly and as an item on the pool,
// against a plain reference loop, and dispatching and waiting for 96 empty work items on
// the warm worker pool.
#include "app/benchmark.h"
#include "platform/worker_pool.h"

#include <benchmark/benchmark.h>

int64_t referencechain(int64_t count);

namespace {

constexpr int64_t chainLength = 100000000;

void BM_WorkerChain(benchmark::State& state)
{
    for (auto _ : state) benchmark::DoNotOptimize(additionchain(chainLength));
    state.SetItemsProcessed(state.iterations() * chainLength);
}
BENCHMARK(BM_WorkerChain)->Unit(benchmark::kMillisecond)->UseRealTime();

// What a pass that has a CPU to itself measures: the chain as one item, dispatched and waited
// for. The chains are timed by the clock on the wall, as the passes are.
void BM_WorkerChainOnThePool(benchmark::State& state)
{
    for (auto _ : state) {
        DispatchGroup group;
        group.async([] { benchmark::DoNotOptimize(additionchain(chainLength)); });
        group.wait();
    }
    state.SetItemsProcessed(state.iterations() * chainLength);
}
BENCHMARK(BM_WorkerChainOnThePool)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ReferenceChain(benchmark::State& state)
{
    for (auto _ : state) benchmark::DoNotOptimize(referencechain(chainLength));
    state.SetItemsProcessed(state.iterations() * chainLength);
}
BENCHMARK(BM_ReferenceChain)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_Dispatch96EmptyItems(benchmark::State& state)
{
    DispatchGroup warm;
    for (int i = 0; i < 96; ++i) warm.async([] {});
    warm.wait();
    for (auto _ : state) {
        DispatchGroup group;
        for (int i = 0; i < 96; ++i) group.async([] {});
        group.wait();
    }
}
BENCHMARK(BM_Dispatch96EmptyItems)->Unit(benchmark::kMicrosecond);

}  // namespace
