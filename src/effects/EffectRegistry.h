// The one process-wide map from instance name to effect, and the factory from type word to effect.
// The bindings do not own the effects: nothing the script does destroys one. The effects the
// script makes are kept on a separate list, so that a demo that is rebuilt in the same GL context
// can destroy them all at once.
#pragma once
#include <string>
#include "effects/Demoeffect.h"

class EffectRegistry {
public:
    // The binding of `name`; a name seen for the first time gets an empty (null) binding.
    static Demoeffect*& findOrAdd(const std::string& name);
    // The effect bound to `name`, or null when the binding is empty or missing. Never adds one.
    static Demoeffect* find(const std::string& name);
    // Whether `name` has a binding (an empty one counts). Never adds one.
    static bool contains(const std::string& name);
    // Forgets every binding and the list of effects to destroy (the effects themselves are left
    // alone). Used when the GL context is replaced, since the effects hold names of the old context.
    static void clear();
    static size_t size();
    // Puts an effect the script made on the list of effects to destroy (null is ignored).
    static void own(Demoeffect* effect);
    // Destroys every effect on the list and empties it; forget the bindings first or with it.
    static void destroyOwned();
};

// A new effect for the type word, or null for a word that names no type.
Demoeffect* createEffect(const char* typeWord);
