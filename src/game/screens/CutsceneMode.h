#pragma once

#include "core/Label.h"
#include "game/screens/MenuScreen.h"

#include <string>

namespace Strata
{
class SceneNode;
}

namespace Yardcrew
{

// A story cut-scene: the frame "CutsceneLayout" (a stage node "Pictures" and the skip button) with the
// cut-scene's own layout "Cutscene_<name>" under the stage. Each child of that layout's root is one
// picture; they are shown in turn, each while its voice line "Cutscene_<name>_<n>" (from 1) is spoken,
// and for at least a moment when the line is missing. At the end, or on skip, the story moves on once.
class CutsceneMode : public MenuScreen
{
public:
    explicit CutsceneMode(Strata::Label cutsceneID);

    // Instantiates the frame and the cut-scene; a missing layout is logged and leaves the cut-scene
    // without pictures (it then ends at once and the story goes on).
    void Setup() override;
    // Sets the menu music, gives the skip button the image list of the profile's language and, the
    // first time, starts the pictures.
    void Enter() override;
    // Silences the voice-over and empties the voice queue.
    void Destroy() override;

    // Ends the cut-scene and starts the next story step; later calls do nothing.
    virtual void closeMode();

    Strata::Label getCutsceneID() const { return mCutsceneID; }
    int getPictureCount() const;
    // The picture on show; -1 before the first.
    int getShownPicture() const { return mShown; }
    bool isClosing() const { return HasLeft(); }

    // The cut-scene's own layout, "Cutscene_<name>", and the voice line of its picture `number` (from 1),
    // "Cutscene_<name>_<number>": built from the story's data, so the content check builds them here too.
    static std::string LayoutName(Strata::Label cutsceneID);
    static std::string VoiceName(Strata::Label cutsceneID, int number);

    // How long a picture stays at the least, in seconds, so one without its voice line is still seen.
    static constexpr float kMinimumPictureTime = 2.0f;
    static const sMenuScreen kScreen;

private:
    Strata::SceneNode* getStage() const;
    void showPicture(int index);

    Strata::Label mCutsceneID;
    int mShown = -1;
    bool mStarted = false;
};

} // namespace Yardcrew
