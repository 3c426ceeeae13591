#include "platform/ImageCombo.h"

#include "basic/Errors.h"
#include "basic/Text.h"

namespace movra {

namespace {
[[noreturn]] void RaiseIndex() { throw RuntimeError(35600, "索引越界"); }
}  // namespace

void ImageCombo::SetImageList(ImageList* list) {
    // Setting the list again also tells the view that its pictures may have changed.
    imageList_ = list;
    Notify(Prop::Picture);
}

void ImageCombo::Renumber() {
    for (size_t i = 0; i < items_.size(); ++i) items_[i]->index_ = static_cast<int>(i) + 1;
}

ComboItem& ImageCombo::AddItem(int index, const std::string& key, const std::string& text, int image,
                               int selectedImage) {
    if (index == 0) index = ItemCount() + 1;
    if (index < 1 || index > ItemCount() + 1) RaiseIndex();
    if (!key.empty() && FindKey(key)) throw RuntimeError(35602, "关键字不唯一");
    auto item = std::make_unique<ComboItem>();
    item->key_ = key;
    item->text_ = text;
    item->image_ = image;
    item->selectedImage_ = selectedImage;
    ComboItem& added = *item;
    items_.insert(items_.begin() + (index - 1), std::move(item));
    Renumber();
    Notify(Prop::List);
    return added;
}

void ImageCombo::RemoveItem(int index) {
    if (index < 1 || index > ItemCount()) RaiseIndex();
    if (selected_ == items_[static_cast<size_t>(index - 1)].get()) selected_ = nullptr;
    items_.erase(items_.begin() + (index - 1));
    Renumber();
    Notify(Prop::List);
}

void ImageCombo::ClearItems() {
    items_.clear();
    selected_ = nullptr;
    Notify(Prop::List);
}

ComboItem& ImageCombo::Item(int index) {
    if (index < 1 || index > ItemCount()) RaiseIndex();
    return *items_[static_cast<size_t>(index - 1)];
}

ComboItem& ImageCombo::Item(const std::string& key) {
    if (ComboItem* item = FindKey(key)) return *item;
    throw RuntimeError(35601, "找不到元素");
}

ComboItem* ImageCombo::FindKey(const std::string& key) {
    for (auto& item : items_)
        if (EqualsIgnoreCase(item->key_, key)) return item.get();
    return nullptr;
}

ComboItem* ImageCombo::SelectedItem() { return selected_; }

void ImageCombo::SetSelectedItem(int index) {
    ComboItem* item = index == 0 ? nullptr : &Item(index);
    if (item == selected_ && (!item || text_ == item->text_)) return;
    selected_ = item;
    if (item) text_ = item->text_;
    Notify(Prop::Value);
    Notify(Prop::Text);
}

void ImageCombo::SetText(const std::string& text) {
    if (text == text_) return;
    text_ = text;
    Notify(Prop::Text);
}

void ImageCombo::SetLocked(bool locked) {
    if (locked_ == locked) return;
    locked_ = locked;
    Notify(Prop::Other);
}

void ImageCombo::UserChoose(int index) {
    if (index < 1 || index > ItemCount()) return;
    SetSelectedItem(index);
    clickGate_.Fire(onClick);
}

void ImageCombo::UserType(const std::string& text) {
    if (text == text_) return;
    text_ = text;
    Notify(Prop::Text);
    changeGate_.Fire(onChange);
}

}  // namespace movra
