#pragma once
// Loops in effect code get a budget. A D3D9 shader cannot loop for ever (its loop instructions
// count at most 255 rounds), but HLSL source can say `while (true)`, and on the GL side such a
// loop would stall the process in the draw. Every for, while and do-while condition is extended
// with a check of one counter per shader invocation, so that no invocation runs more than
// kLoopBudget rounds in all; a loop that ends on its own runs exactly as written.
#include <string>
#include <vector>

#include "common/effect/fx_lexer.h"

namespace orvex_fx {

const int kLoopBudget = 4096;

// HLSL that declares the budget and orvex_loop_round(); it goes before the effect's code.
std::string loop_budget_declaration();
// The tokens with every loop condition extended by "&& orvex_loop_round()".
std::vector<Token> guard_loops(const std::vector<Token>& tokens);

}  // namespace orvex_fx
