// Demo construction and destruction (placeholder until the running demo lands).
#include "demo/Demo.h"

Demo::Demo()
{
    initScene();
}

Demo::~Demo() = default;

bool Demo::initScene()
{
    loadScript();
    return true;
}

bool Demo::renderFrame()
{
    return true;
}
