// The font library keeps a few blocks of its own to the end of the process
// without a pointer to them; they are not ours to free.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\n";
}
