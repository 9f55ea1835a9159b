#include <dlfcn.h>

#include <initializer_list>

// On a bare virtual display (xvfb-run, no window manager) nothing has named
// the window-manager atoms yet. JUCE looks them up without creating them and
// then reads and writes window properties under the missing names, which the
// X server rejects with an error that is fatal outside a JUCE application.
// Naming them before JUCE opens its own connection lets the tests put windows
// on that display. The connection stays open: a bare server forgets its atoms
// when its last client leaves.
namespace
{
struct BareDisplayAtoms
{
    BareDisplayAtoms()
    {
        auto* x11 = dlopen ("libX11.so.6", RTLD_LAZY | RTLD_LOCAL);

        if (x11 == nullptr)
            return;

        using OpenDisplay = void* (*) (const char*);
        using InternAtom = unsigned long (*) (void*, const char*, int);
        const auto openDisplay = reinterpret_cast<OpenDisplay> (dlsym (x11, "XOpenDisplay"));
        const auto internAtom = reinterpret_cast<InternAtom> (dlsym (x11, "XInternAtom"));

        if (openDisplay == nullptr || internAtom == nullptr)
            return;

        if (auto* display = openDisplay (nullptr))
            for (const auto* name : { "WM_PROTOCOLS", "WM_STATE" })
                internAtom (display, name, 0);
    }
};

const BareDisplayAtoms bareDisplayAtoms;
} // namespace
