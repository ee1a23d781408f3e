#pragma once

// The process's resident set size (VmRSS in /proc/self/status) in KiB; -1,
// with the reason printed once, where it cannot be read.
long residentMemoryKiB();
