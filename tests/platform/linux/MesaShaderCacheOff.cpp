// Mesa keeps no shader cache in these tests: the cache's thread, ending while the leak checker stops the
// process at exit, crashes the checker's tracer now and then, more often on a busy machine. Set before
// main, so before Mesa is loaded; a value given from outside stands.

#include <cstdlib>

namespace
{

[[maybe_unused]] const bool gShaderCacheOff = setenv("MESA_SHADER_CACHE_DISABLE", "true", 0) == 0;

} // namespace
