/* Linked into the Linux release's player only. The statically linked C++ runtime refers to
 * arc4random (for std::random_device, which the player never uses), a function glibc has only
 * since 2.36; with that reference the player would not start on Ubuntu 22.04 (glibc 2.35). This
 * definition takes the reference instead, with the same meaning, through getrandom (glibc 2.25). */
#include <stdint.h>
#include <sys/random.h>

uint32_t arc4random(void)
{
    uint32_t value;
    while (getrandom(&value, sizeof value, 0) != (ssize_t)sizeof value) {
    }
    return value;
}
