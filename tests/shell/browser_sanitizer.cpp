// Under AddressSanitizer, the web engine's own code (Chromium's sized deletes, objects it keeps
// until the process ends) is reported though none of it is ours: the check that it trips is
// turned off for this test program, and the leaks of the engine's libraries are left out.
#if defined(__SANITIZE_ADDRESS__)

extern "C" const char *__asan_default_options()
{
    return "new_delete_type_mismatch=0";
}

extern "C" const char *__lsan_default_suppressions()
{
    return "leak:libQt6WebEngineCore.so\nleak:libfontconfig.so\n";
}

#endif
