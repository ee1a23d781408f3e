/* Preloaded into the sanitized test runs only: dlclose does nothing, so the
 * GL driver and the libraries it opened stay mapped until the process ends.
 * LeakSanitizer checks at exit; without this, what the driver allocated
 * shows up from "<unknown module>" after X closes the display and unloads it,
 * and no suppression can name where it came from. */
int dlclose(void *handle)
{
    (void)handle;
    return 0;
}
