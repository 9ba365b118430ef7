// zlib's one-call inflation for the WebAssembly build, which has no zlib: the module's host gives
// an inflater as Module.inflateZlib (bytes of a zlib stream → their inflated bytes; the page and
// the node tests pass fflate's), called synchronously. Only places.bin is inflated, once.
#include <zlib.h>

#include <emscripten/emscripten.h>

// Inflates source into dest (room *dest_length bytes); the inflated length, or -1 when the stream
// is damaged, -2 when it does not fit.
EM_JS(long, inflate_with_host,
      (unsigned char* dest, unsigned long dest_room, const unsigned char* source,
       unsigned long source_length),
      {
          let inflated;
          try {
              inflated = Module["inflateZlib"](HEAPU8.subarray(source, source + source_length));
          } catch (e) {
              return -1;
          }
          if (inflated.length > dest_room) return -2;
          HEAPU8.set(inflated, dest);
          return inflated.length;
      });

extern "C" int uncompress(Bytef* dest, uLongf* dest_length, const Bytef* source, uLong source_length) {
    const long inflated = inflate_with_host(dest, *dest_length, source, source_length);
    if (inflated < 0) return inflated == -2 ? Z_BUF_ERROR : Z_DATA_ERROR;
    *dest_length = static_cast<uLongf>(inflated);
    return Z_OK;
}
