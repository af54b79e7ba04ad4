#pragma once
// The program's own entry, which the platform's entry function (wWinMain on Windows) calls. Its
// result becomes the exit code; the process then ends at once, without tearing down objects
// that a still running worker thread may use.
int KavloMain();
