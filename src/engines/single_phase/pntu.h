// Temperature effectiveness of plate heat exchanger pass arrangements (P-NTU method,
// Kandlikar & Shah, J. Heat Transfer 111 (1989) 300-321).
#pragma once

namespace hxq::engines::single_phase {

// Pure counter-current and pure co-current effectiveness of fluid 1; ntu = UA/C1,
// r = C1/C2 (any positive value).
double p_counter(double ntu, double r);
double p_parallel(double ntu, double r);

// NTU that the given effectiveness needs; a negative value when no area reaches it.
double ntu_counter(double p, double r);
double ntu_parallel(double p, double r);

// Arrangement of the passes: `passes_a` passes on fluid a against one pass of fluid b,
// or the same number of passes on both (counter or co-current throughout).
struct PassArrangement {
    int passes_a = 1;  // the multi-pass fluid (1: plain single pass)
    bool symmetric = true;  // equal passes on both fluids
    bool counter = true;    // first (or only) pass counter-current
};

// Effectiveness of fluid 1 (ntu1 = UA/C1, r1 = C1/C2). With unequal passes, fluid
// `multi_side` (1 or 2) is the one with passes_a passes.
double effectiveness(const PassArrangement& arr, int multi_side, double ntu1, double r1);

// NTU of fluid 1 that gives effectiveness p1; negative when unreachable.
double required_ntu(const PassArrangement& arr, int multi_side, double p1, double r1);

}  // namespace hxq::engines::single_phase
