#pragma once
#include <memory>
#include <string>
#include <vector>

#include "platform/Control.h"
#include "platform/ImageList.h"

namespace movra {

// An item of an image combo: its place (1-based), key, text and pictures of the image list.
class ComboItem {
public:
    int Index() const { return index_; }
    const std::string& Key() const { return key_; }
    const std::string& Text() const { return text_; }
    int Image() const { return image_; }
    int SelectedImage() const { return selectedImage_; }
    std::string tag;

private:
    friend class ImageCombo;
    int index_ = 0;
    std::string key_;
    std::string text_;
    int image_ = 0;
    int selectedImage_ = 0;
};

// A combo box whose items carry pictures (colour swatches, layer marks). Only the user's choice
// runs Click and only the user's typing runs Change: what the program writes runs nothing.
class ImageCombo : public Control {
public:
    ImageCombo(FormModel& form, std::string name, Control* container = nullptr)
        : Control(form, ControlKind::ImageCombo, std::move(name), container) {}

    ImageList* ImageListRef() const { return imageList_; }
    void SetImageList(ImageList* list);

    // Inserts at the 1-based index (0 or Count + 1 appends); error 35600 outside, 35602 for a key
    // that another item has.
    ComboItem& AddItem(int index, const std::string& key, const std::string& text, int image = 0,
                       int selectedImage = 0);
    void RemoveItem(int index);
    void ClearItems();
    int ItemCount() const { return static_cast<int>(items_.size()); }
    // By 1-based index or key; error 35600 / 35601 when there is none.
    ComboItem& Item(int index);
    ComboItem& Item(const std::string& key);
    // Null when there is no item of that key.
    ComboItem* FindKey(const std::string& key);

    // The chosen item, or null.
    ComboItem* SelectedItem();
    // The program chooses an item (0: none); the box shows its text. Nothing runs.
    void SetSelectedItem(int index);

    const std::string& Text() const { return text_; }
    void SetText(const std::string& text);
    bool Locked() const { return locked_; }
    void SetLocked(bool locked);

    std::function<void()> onChange;

    // What the user does.
    void UserChoose(int index);
    void UserType(const std::string& text);

private:
    void Renumber();
    ImageList* imageList_ = nullptr;
    std::vector<std::unique_ptr<ComboItem>> items_;
    ComboItem* selected_ = nullptr;
    std::string text_;
    bool locked_ = false;
    EventGate changeGate_;
};

}  // namespace movra
