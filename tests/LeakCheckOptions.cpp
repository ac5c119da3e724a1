// Linked into every test program and fuzz target: the leak checker reads its exceptions from the one
// file the build names, whether the program runs under CTest or by hand. LSAN_OPTIONS still overrides.
extern "C" const char* __lsan_default_options()
{
    return "suppressions=" STRATA_LSAN_SUPPRESSIONS ":print_suppressions=0";
}
