// Test access to view animations: while it lives, counts the animation blocks any view runs
// and keeps the duration of the last one.
#pragma once

#include "uikit/view.h"

class ViewAnimationTestApi {
public:
    ViewAnimationTestApi()
        : token_(UIView::addAnimationObserver([this](double duration) {
              ++count_;
              lastDuration_ = duration;
          }))
    {
    }
    ~ViewAnimationTestApi() { UIView::removeAnimationObserver(token_); }
    ViewAnimationTestApi(const ViewAnimationTestApi&) = delete;
    ViewAnimationTestApi& operator=(const ViewAnimationTestApi&) = delete;

    long animationCount() const { return count_; }
    double lastAnimationDuration() const { return lastDuration_; }

private:
    long count_ = 0;
    double lastDuration_ = 0;
    long token_;
};
