#include "call_log.h"

#include <utility>

namespace orvex_headless {

std::vector<std::string>& call_log()
{
    static std::vector<std::string> log;
    return log;
}

void record_call(std::string line) { call_log().push_back(std::move(line)); }

void clear_call_log() { call_log().clear(); }

}  // namespace orvex_headless
