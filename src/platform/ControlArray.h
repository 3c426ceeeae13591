#pragma once
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "basic/Errors.h"
#include "platform/FormModel.h"

namespace movra {

// Controls of one name told apart by a number (`Command3`(0..66)). Elements are loaded and
// unloaded by number; the wiring given once is applied to every element, present and future,
// so that its events can carry the element's number.
template <class T>
class ControlArray {
public:
    ControlArray(FormModel& form, std::string name, Control* container = nullptr)
        : form_(form), name_(std::move(name)), container_(container) {}

    const std::string& Name() const { return name_; }

    // Makes element `index`; error 360 when it is already there.
    T& Load(int index) { return Load(index, container_); }
    // The same inside another container than the array's (elements spread over several frames).
    T& Load(int index, Control* container) {
        if (elements_.count(index)) throw RuntimeError(360, "对象已经加载");
        auto element = std::make_unique<T>(form_, name_, container);
        element->SetIndex(index);
        T& made = *element;
        elements_[index] = std::move(element);
        if (wiring_) wiring_(made, index);
        form_.ControlLoaded(made);
        return made;
    }
    // Makes every element from..to that is not there yet.
    void LoadRange(int from, int to) {
        for (int i = from; i <= to; ++i)
            if (!Exists(i)) Load(i);
    }
    void Unload(int index) { elements_.erase(index); }

    bool Exists(int index) const { return elements_.count(index) != 0; }
    // Error 340 when the element does not exist.
    T& operator()(int index) const {
        auto found = elements_.find(index);
        if (found == elements_.end()) throw RuntimeError(340, "控件数组元素不存在");
        return *found->second;
    }
    T& operator[](int index) const { return (*this)(index); }
    int Count() const { return static_cast<int>(elements_.size()); }
    int LBound() const { return elements_.empty() ? 0 : elements_.begin()->first; }
    int UBound() const { return elements_.empty() ? -1 : elements_.rbegin()->first; }

    // Sets up each element's events: wiring(element, index).
    void Wire(std::function<void(T&, int)> wiring) {
        wiring_ = std::move(wiring);
        for (auto& [index, element] : elements_) wiring_(*element, index);
    }

    // Elements in order of their numbers.
    template <class F>
    void ForEach(F&& f) const {
        for (auto& [index, element] : elements_) f(*element, index);
    }

private:
    FormModel& form_;
    std::string name_;
    Control* container_;
    std::function<void(T&, int)> wiring_;
    std::map<int, std::unique_ptr<T>> elements_;
};

}  // namespace movra
