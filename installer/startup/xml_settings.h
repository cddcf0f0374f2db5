// The settings element of the settings document, as StartUp reads it.
#pragma once

#include "XMLLibLite.h"
#include "start_up.h"

class XmlSettings final : public StartUpSettings {
public:
  // element is not owned and must outlive this view.
  explicit XmlSettings(TXMLNode& element) : element_(element) {}

  std::u16string ValueOf(const std::u16string& attribute, const std::u16string& fallback) const override {
    return element_.Attributes.ValueOf(attribute, fallback);
  }
  std::size_t ChildCount() const override { return static_cast<std::size_t>(element_.ChildCount()); }
  std::u16string ChildName(std::size_t i) const override {
    const TXMLNode* child = Child(i);
    return child ? child->Name : std::u16string();
  }
  std::u16string ChildValueOf(std::size_t i, const std::u16string& attribute,
                              const std::u16string& fallback) const override {
    TXMLNode* child = Child(i);
    return child ? child->Attributes.ValueOf(attribute, fallback) : fallback;
  }

private:
  TXMLNode* Child(std::size_t i) const {
    return i < ChildCount() ? element_.Children.Get(static_cast<int>(i)) : nullptr;
  }
  TXMLNode& element_;
};
