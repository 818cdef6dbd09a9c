// Arbitrary text read as a dumped route request and, when it reads, planned
// within a small budget and smoothed; the dump written again must read back.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "simulation/people/RouteRequest.h"
#include "simulation/people/RouteSearch.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  tova::RouteRequest request;
  std::string error;
  if (!tova::ReadRouteDump(std::string_view(reinterpret_cast<const char*>(data), size), request, error)) return 0;
  tova::RouteRequest again;
  if (!tova::ReadRouteDump(tova::WriteRouteDump(request), again, error) || !(again == request)) __builtin_trap();
  tova::RouteSearch search(tova::RoutePlanner::Global());
  search.Begin(request);
  search.Run(60);
  return 0;
}
