// Under LeakSanitizer: fontconfig keeps the patterns it hands Pango in caches it never frees, and
// reports them as leaks at exit. They are fontconfig's, not ours; everything else still counts.
extern "C" const char* __lsan_default_suppressions()
{
    return "leak:libfontconfig.so\n";
}
