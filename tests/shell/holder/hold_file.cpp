// hold_file PATH READY RELEASE: another program for the shell tests. Opens
// the file PATH for reading without sharing, as a word processor holding a
// document does, signals the named event READY, and keeps the file open
// until the named event RELEASE is signalled.
#include <windows.h>

int wmain(int argc, wchar_t** argv) {
    if (argc != 4) return 2;
    HANDLE file = CreateFileW(argv[1], GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 1;
    HANDLE ready = OpenEventW(EVENT_MODIFY_STATE, FALSE, argv[2]);
    HANDLE release = OpenEventW(SYNCHRONIZE, FALSE, argv[3]);
    if (!ready || !release) return 1;
    SetEvent(ready);
    // Never forever: a test that fails before letting go does not leave it behind.
    WaitForSingleObject(release, 60000);
    CloseHandle(file);
    return 0;
}
