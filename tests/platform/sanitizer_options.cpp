// Points LeakSanitizer at this suite's suppression file; read once at start-up
// and only in sanitizer builds.
extern "C" const char* __lsan_default_options() {
  return "suppressions=" DF_PLATFORM_LSAN_SUPPRESSIONS;
}
