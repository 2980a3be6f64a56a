// In a sanitizer build the leak check at exit would report blocks that the
// system's libraries keep to the end of the process without a pointer to them
// (the font library, the session bus library); they are not ours to free.
// Without the sanitizer this function is never called.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\n"
           "leak:libdbus-1.so\n";
}
