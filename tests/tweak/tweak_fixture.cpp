#include "tweak_fixture.h"

#include "tweak/core/settings.h"

namespace tweaktest {

TweakTest::TweakTest() { vantorel::settings = {}; }
TweakTest::~TweakTest() { vantorel::settings = {}; }

} // namespace tweaktest
