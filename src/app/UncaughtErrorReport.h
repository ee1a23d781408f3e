#pragma once

// Start-up errors that nothing handles (a missing configuration file, a shader
// program that cannot be built) end the process with one readable line on
// standard error and exit code 1 instead of an abort.
void installUncaughtErrorReport();
