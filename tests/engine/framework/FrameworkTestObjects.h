#pragma once

// Small objects and tasks that record what happens to them, for the object and task tests.

#include "framework/Object.h"
#include "framework/ObjectDatabase.h"
#include "framework/ObjectInterfaces.h"
#include "framework/Task.h"

#include <functional>
#include <string>
#include <vector>

namespace Strata::Testing
{

using EventLog = std::vector<std::string>;

// An object that logs messages, updates and its deletion as "<tag>:<what>".
class LoggingObject : public Object
{
public:
    LoggingObject(EventLog* log, std::string tag, Label name = Label(), std::vector<Label> roles = {})
        : mLog(log), mTag(std::move(tag)), mName(name), mRoles(std::move(roles))
    {
    }
    ~LoggingObject() override
    {
        if (mLog)
            mLog->push_back(mTag + ":deleted");
        if (onDelete)
            onDelete();
    }

    Label GetName() const override { return mName; }
    Label GetRole(const int& index) const override
    {
        return index >= 0 && static_cast<size_t>(index) < mRoles.size() ? mRoles[index] : Label();
    }
    void Update(float) override
    {
        if (mLog)
            mLog->push_back(mTag + ":update");
        if (onUpdate)
            onUpdate();
    }
    void ReceiveMessage(const ObjectMessage& message) override
    {
        if (mLog)
            mLog->push_back(mTag + ":" + message.GetName().c_str());
        if (onMessage)
            onMessage(message);
    }

    std::function<void()> onUpdate;
    std::function<void(const ObjectMessage&)> onMessage;
    std::function<void()> onDelete;

protected:
    EventLog* mLog;
    std::string mTag;
    Label mName;
    std::vector<Label> mRoles;
};

// A logging object with every interface the database and the tasks look for.
class WidgetObject : public LoggingObject,
                     public IDrawable,
                     public IBounds,
                     public IInputHandler,
                     public IEnable,
                     public IVisible,
                     public IAlpha
{
public:
    WidgetObject(EventLog* log, std::string tag, float layer = 0.0f, Rect<float> bounds = Rect<float>())
        : LoggingObject(log, std::move(tag)), layer(layer), bounds(bounds)
    {
    }

    float GetLayer() override { return layer; }
    void SetLayer(float value) override { layer = value; }
    void Draw() override { Log("draw"); }

    Vector2<float>& GetLocation() override { return location; }
    void SetLocation(const Vector2<float>& value) override { location = value; }
    Rect<float>& GetBounds() override { return bounds; }
    void SetBounds(const Rect<float>& value) override { bounds = value; }
    bool BoundsContains(float x, float y) override
    {
        return x >= bounds.x && y >= bounds.y && x < bounds.x + bounds.width && y < bounds.y + bounds.height;
    }

    MessageResult OnKeyDown(int key) override { return Input("keydown " + std::to_string(key)); }
    MessageResult OnKeyUp(int key) override { return Input("keyup " + std::to_string(key)); }
    MessageResult OnTextInput(const std::wstring&) override { return Input("text"); }
    MessageResult OnMouseMove(int x, int y) override
    {
        return Input("move " + std::to_string(x) + "," + std::to_string(y));
    }
    MessageResult OnMouseDown(MouseButton button, int, int) override
    {
        return Input("down " + std::to_string(static_cast<int>(button)));
    }
    MessageResult OnMouseUp(MouseButton, int, int) override { return Input("up"); }
    MessageResult OnMouseWheel(float, int, int) override { return Input("wheel"); }
    bool CanFocus() override { return true; }

    bool IsEnabled() override { return enabled; }
    void Enable(bool value) override { enabled = value; }
    bool IsVisible() override { return visible; }
    void SetVisible(bool value) override { visible = value; }
    float GetAlpha() override { return alpha; }
    void SetAlpha(float value) override { alpha = value; }

    float layer;
    Rect<float> bounds;
    Vector2<float> location;
    bool enabled = true;
    bool visible = true;
    float alpha = 1.0f;
    // Whether input handlers consume the event.
    bool consumes = false;
    std::function<void()> onInput;

private:
    void Log(const std::string& what)
    {
        if (mLog)
            mLog->push_back(mTag + ":" + what);
    }
    MessageResult Input(const std::string& what)
    {
        Log(what);
        if (onInput)
            onInput();
        return consumes ? MessageResult_Handled : MessageResult_Unhandled;
    }
};

// A task with a scripted answer that counts its updates and notes its deletion.
class ProbeTask : public Task
{
public:
    explicit ProbeTask(sTaskStatus answer = Task::Incomplete, int* deleted = nullptr)
        : answer(answer), mDeleted(deleted)
    {
    }
    ~ProbeTask() override
    {
        if (mDeleted)
            ++*mDeleted;
    }

    Task* Clone() const override
    {
        auto* clone = new ProbeTask(answer, mDeleted);
        clone->finishOn = finishOn;
        return clone;
    }
    sTaskStatus Update(Object* object, float dt) override
    {
        ++updates;
        lastDt = dt;
        if (onUpdate)
            onUpdate(object);
        return answer;
    }
    int ReceiveMessage(Object*, const ObjectMessage& message) override
    {
        messages.push_back(message.GetName().c_str());
        return finishOn.IsNull() || message.GetName() != finishOn ? 1 : 0;
    }

    sTaskStatus answer;
    int updates = 0;
    float lastDt = -1.0f;
    std::vector<std::string> messages;
    Label finishOn;
    std::function<void(Object*)> onUpdate;

private:
    int* mDeleted;
};

} // namespace Strata::Testing
