// Linked into a fully static hv, together with --wrap=dlopen. SQLite refers to the dynamic
// loader for its loadable extensions, which hv never enables; a static glibc's loader would
// only work beside the glibc it was built with. The reference lands here: nothing loads.

extern "C" void* __wrap_dlopen(const char*, int) noexcept {
  return nullptr;
}
