// What is on the screen, for the simulated device's tools: every visible view of a tree (not
// hidden, not transparent, inside a visible ancestor) with its class and its frame in screen
// points, as one line of JSON:
//   [{"class":"UILabel","x":0,"y":150,"w":320,"h":50,"parent":-1,"text":"Good morning"}, ...]
// "parent" is the index of the nearest listed ancestor (-1 for the root); labels add "text".
#pragma once

#include <string>

class UIView;

std::string listVisibleViews(const UIView* root);
