/* The update library's interface for the host program that loads it
 * (libvekpatch.so). A host starts one update run with VekDoUpdate and receives
 * every report through its callback until code 15 (the run's end); it may
 * stop a run with VekAbortUpdate from its own thread.
 *
 * Callback codes: 0 connect finished, 1 file begins (data: name, value: size),
 * 2 file progress %, 3 file received, 4 file being verified (data: name),
 * 5 verified (data 0 accepted, 1 rejected), 6 overall progress %, 7 file being
 * installed (data: name), 8 patch progress %, 9 file installed, 10 a flag for
 * the host, 11 an error (data: VekErrorInfo*), 12 status text, 13 a yes/no
 * question (return non-zero for yes), 14 a text to show, 15 the run has ended,
 * 16 the run has ended and needs a restart. Texts and the error record belong
 * to the library and are valid during the callback only. Return 1 to go on;
 * anything else (for a code other than 13) ends the run. */
#ifndef VEKPATCH_VEKPATCH_H
#define VEKPATCH_VEKPATCH_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef int32_t (*VekCallback)(intptr_t context, int32_t code, intptr_t data, int32_t value);

/* The record passed with code 11. */
typedef struct VekErrorInfo {
  const char* source;  /* the library's unit that raised it, e.g. "clientconn.cpp" */
  int32_t line;
  const char* message;
  int32_t code;
} VekErrorInfo;

/* 0 when the run started, -1 otherwise (a run already going, an empty name,
 * no callback, or the library could not start: its reasons come as codes 11,
 * 0 and 15). */
int32_t VekDoUpdate(const char* name, intptr_t context, VekCallback cb);
/* Stops the running update, waits for it, then reports codes 0 and 15. */
void VekAbortUpdate(void);

#ifdef __cplusplus
}
#endif

#endif
