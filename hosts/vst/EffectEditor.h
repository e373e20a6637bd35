#pragma once

#include <cstdint>

/** A key event handed to the editor: built on the stack for one call. */
struct EditorKeyRecord
{
    int32_t character;
    uint8_t virtualKey;
    uint8_t modifiers;
    uint8_t padding[2];
};

static_assert (sizeof (EditorKeyRecord) == 8, "key record layout");

/** An editor that an AudioEffect may own. The effect calls only some of these; the rest
    keep their places so that every implementation lays out its operations alike.
*/
class EffectEditor
{
public:
    virtual ~EffectEditor() = default;

    virtual bool attachToEffect() { return false; }
    virtual bool reportBounds (void** bounds) = 0;
    virtual bool openInParent (void* parentWindow) = 0;
    virtual void closeView() = 0;
    virtual bool isViewOpen() { return false; }
    virtual void idleView() = 0;
    virtual void postUpdate() {}
    virtual void beginUpdate() {}
    virtual void endUpdate() {}
    virtual bool beginEdit (int32_t) { return false; }
    virtual bool endEdit (int32_t) { return false; }
    virtual bool keyPressed (EditorKeyRecord& key) = 0;
    virtual bool keyReleased (EditorKeyRecord& key) = 0;
    virtual bool onWheel (float) { return false; }
    virtual bool applyKnobMode (int32_t mode) = 0;
};
