/* Prototypes the generator reads after the mingw-w64 headers: kernel32 exports that winnt.h
   offers only as macros over the C library (memmove, memset). The DLL functions exist, and VB6
   code calls them (as CopyMemory, ZeroMemory and FillMemory, see overrides.txt). */
#undef RtlMoveMemory
#undef RtlZeroMemory
#undef RtlFillMemory
VOID WINAPI RtlMoveMemory(VOID* Destination, CONST VOID* Source, SIZE_T Length);
VOID WINAPI RtlZeroMemory(VOID* Destination, SIZE_T Length);
VOID WINAPI RtlFillMemory(VOID* Destination, SIZE_T Length, BYTE Fill);
