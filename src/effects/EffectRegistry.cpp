// Effect registry (ordered map by name) and the factory of effect types.
#include "effects/EffectRegistry.h"
#include <cstring>
#include <map>
#include <memory>
#include <new>
#include <vector>
#include "effects/Camera.h"
#include "effects/Image.h"
#include "effects/Model.h"
#include "effects/Particles.h"
#include "effects/Sphere.h"
#include "effects/Text.h"

namespace {
std::map<std::string, Demoeffect*>& bindings()
{
    static std::map<std::string, Demoeffect*> map;
    return map;
}

// Never destroyed at exit: the effects' GL names may belong to a context that is already gone.
std::vector<std::unique_ptr<Demoeffect>>& owned()
{
    static auto* list = new std::vector<std::unique_ptr<Demoeffect>>;
    return *list;
}
} // namespace

Demoeffect*& EffectRegistry::findOrAdd(const std::string& name)
{
    auto& map = bindings();
    auto it = map.lower_bound(name);
    if (it == map.end() || it->first != name) it = map.emplace_hint(it, name, nullptr);
    return it->second;
}

Demoeffect* EffectRegistry::find(const std::string& name)
{
    const auto it = bindings().find(name);
    return it == bindings().end() ? nullptr : it->second;
}

bool EffectRegistry::contains(const std::string& name)
{
    return bindings().count(name) != 0;
}

void EffectRegistry::clear()
{
    bindings().clear();
    for (auto& e : owned()) (void)e.release(); // their context is gone: forgotten, not destroyed
    owned().clear();
}

size_t EffectRegistry::size()
{
    return bindings().size();
}

void EffectRegistry::own(Demoeffect* effect)
{
    if (effect) owned().emplace_back(effect);
}

void EffectRegistry::destroyOwned()
{
    owned().clear();
}

Demoeffect* createEffect(const char* typeWord)
{
    if (!typeWord) return nullptr;
    if (std::strcmp(typeWord, "demoeffect") == 0) return new (std::nothrow) Demoeffect();
    if (std::strcmp(typeWord, "camera") == 0) return new (std::nothrow) Camera();
    if (std::strcmp(typeWord, "model") == 0) return new (std::nothrow) Model();
    if (std::strcmp(typeWord, "sphere") == 0) return new (std::nothrow) Sphere();
    if (std::strcmp(typeWord, "text") == 0) return new (std::nothrow) Text();
    if (std::strcmp(typeWord, "particles") == 0) return new (std::nothrow) Particles();
    if (std::strcmp(typeWord, "image") == 0) return new (std::nothrow) Image();
    return nullptr;
}
