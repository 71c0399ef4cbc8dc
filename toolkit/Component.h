// The root of the toolkit's object model: persistent objects and components.
//
// A component has an owner that frees it, a list of the components it owns, a Name, a Tag
// and a state (loading, destroying). Forms are built in code: the form's constructor runs in
// the loading phase, and TApplication::CreateForm ends it with Loaded() for every component
// the form owns and then for the form itself; the form counts as loaded from the start of
// that pass.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class TObject {
 public:
  virtual ~TObject() = default;
  // The class name as the object model knows it ("TButton", "TForm1" ...).
  virtual const wchar_t* ClassName() const { return L"TObject"; }
};

class TPersistent : public TObject {
 public:
  const wchar_t* ClassName() const override { return L"TPersistent"; }
};

using TNotifyEvent = std::function<void(TObject* sender)>;

enum TComponentStateFlag : unsigned {
  csLoading = 1,
  csReading = 2,
  csDestroying = 4,
  csDesigning = 8,
  csFreeNotification = 16,
};
using TComponentState = unsigned;

enum class TOperation { opInsert, opRemove };

class TComponent : public TPersistent {
 public:
  explicit TComponent(TComponent* owner);
  ~TComponent() override;
  TComponent(const TComponent&) = delete;
  TComponent& operator=(const TComponent&) = delete;
  const wchar_t* ClassName() const override { return L"TComponent"; }

  TComponent* Owner() const { return owner_; }
  int ComponentCount() const { return int(components_.size()); }
  TComponent* Components(int index) const { return components_.at(size_t(index)); }
  TComponent* FindComponent(const std::wstring& name) const;

  const std::wstring& Name() const { return name_; }
  void SetName(const std::wstring& name) { name_ = name; }
  intptr_t Tag() const { return tag_; }
  void SetTag(intptr_t tag) { tag_ = tag; }

  TComponentState ComponentState() const { return state_; }
  bool IsLoading() const { return (state_ & csLoading) != 0; }
  bool IsDestroying() const { return (state_ & csDestroying) != 0; }
  bool IsDesigning() const { return (state_ & csDesigning) != 0; }

  // Marks this component and everything it owns as being destroyed.
  void Destroying();

  // Asks for a Notification(this, opRemove) to c when this component is freed (and the
  // other way round).
  void FreeNotification(TComponent* c);
  void RemoveFreeNotification(TComponent* c);

  void InsertComponent(TComponent* c);
  void RemoveComponent(TComponent* c);

  // Enters the loading phase for this component and everything it owns.
  void BeginLoading();
  // Ends the loading phase of this component, then runs Loaded() for every owned component
  // (recursively, in creation order) and last for this one. Used once a form's constructor
  // has finished.
  void EndLoading();

 protected:
  // The loading phase is over: the component's properties are all set.
  virtual void Loaded();
  // A component this one refers to is inserted or about to be freed.
  virtual void Notification(TComponent* c, TOperation op);
  void SetState(unsigned flags, bool on);

 private:
  TComponent* owner_ = nullptr;
  std::vector<TComponent*> components_;
  std::vector<TComponent*> freeNotifies_;
  std::wstring name_;
  intptr_t tag_ = 0;
  TComponentState state_ = 0;
};
