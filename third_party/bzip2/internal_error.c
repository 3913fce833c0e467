/* Not part of bzip2: built with BZ_NO_STDIO, libbzip2 leaves this hook of its internal
   consistency checks (never reached by bad input, which gives BZ_DATA_ERROR) to the program.
   Inside a DLL nothing sensible can follow a broken invariant. */
#include <stdlib.h>

void bz_internal_error(int errcode) {
  (void)errcode;
  abort();
}
