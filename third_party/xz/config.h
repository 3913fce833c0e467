/* Build settings of the vendored liblzma: single-threaded, decoders of .xz streams and raw
   LZMA1/LZMA2 only, for the mingw-w64 targets (GCC). Written for this tree; the other knobs
   of xz's configure script keep their defaults. */
#define HAVE_CHECK_CRC32 1
#define HAVE_CHECK_CRC64 1
#define HAVE_CHECK_SHA256 1
#define HAVE_DECODERS 1
#define HAVE_DECODER_LZMA1 1
#define HAVE_DECODER_LZMA2 1
#define HAVE_INTTYPES_H 1
#define HAVE_STDINT_H 1
#define HAVE_STDBOOL_H 1
#define HAVE__BOOL 1
#define HAVE___BUILTIN_BSWAPXX 1
#define HAVE___BUILTIN_ASSUME_ALIGNED 1
#define HAVE_VISIBILITY 0
#define TUKLIB_FAST_UNALIGNED_ACCESS 1
#define SIZEOF_SIZE_T __SIZEOF_SIZE_T__
#define PACKAGE_NAME "XZ Utils"
#define PACKAGE_URL ""
