#include "app/UncaughtErrorReport.h"

#include "app/ConfigFile.h"

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>

namespace {
[[noreturn]] void reportAndExit()
{
    try {
        std::exception_ptr error = std::current_exception();
        if (error) {
            std::rethrow_exception(error);
        }
        std::fprintf(stderr, "Brimbolt stopped: unknown fatal error.\n");
    } catch (const ConfigFile::file_not_found& missing) {
        std::fprintf(stderr, "Brimbolt stopped: configuration file '%s' not found.\n", missing.filename.c_str());
    } catch (const char* text) {
        std::fprintf(stderr, "Brimbolt stopped: %s\n", text);
    } catch (const std::string& text) {
        std::fprintf(stderr, "Brimbolt stopped: %s\n", text.c_str());
    } catch (const std::exception& error) {
        std::fprintf(stderr, "Brimbolt stopped: %s\n", error.what());
    } catch (...) {
        std::fprintf(stderr, "Brimbolt stopped: unknown fatal error.\n");
    }
    std::fflush(nullptr);
    std::_Exit(EXIT_FAILURE);
}
} // namespace

void installUncaughtErrorReport()
{
    std::set_terminate(reportAndExit);
}
