#pragma once
// Reads the preprocessed tokens of an effect file into an Effect_Description: global parameters
// (with initial values, semantics and annotations), textures, samplers and their sampler_state
// blocks, structs and function signatures, and technique/pass blocks with their state
// assignments and compile statements. Effect keywords (technique, pass, compile, sampler_state,
// state names and their values) are taken in any letter case. What is left for the HLSL compiler
// is the source without effect syntax, with plain sampler declarations.
#include <string>
#include <utility>
#include <vector>

#include "common/effect/fx_description.h"

namespace orvex_fx {

// files: index -> path, for messages "path(line): error: ...". Returns false with errors set
// when the file is no valid effect.
bool parse_effect(const std::vector<Token>& tokens, const std::vector<std::string>& files,
                  Effect_Description& out, std::string& errors);

// The vertex and pixel shaders a pass can run: one pair, or, when it chooses from shader arrays by
// parameters, one pair per choice, vertex major (the pair for vertex element v and pixel element p
// is v x (pixel choices) + p). False with error when there are more than kMaxShaderVariants.
const size_t kMaxShaderVariants = 64;
bool shader_variants(const Pass& pass, std::vector<std::pair<Shader_Ref, Shader_Ref>>& variants, std::string& error);

// Spells tokens back as source text, one space between tokens that had one.
std::string spell_tokens(const std::vector<Token>& tokens, size_t begin, size_t end);

}  // namespace orvex_fx
