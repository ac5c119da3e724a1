#!/usr/bin/env bash
# Remakes the game's shared content in data/ from the sources in art/ and tools/content/.
#   tools/make_content.sh [--manifests-only] [--data DIR] [step...]
#     steps: import art loading voices music effects fonts ui licenses sheet (default: all but import)
# "import" fetches the Fluent Emoji Flat package with npm and copies the drawings we use into art/;
# the other steps need only what is committed. The tools' Debian packages are installed here, never by
# build.sh: the game and its tests run on the committed outputs.
# --manifests-only writes the manifests and the other text files of the Python steps alone, with nothing
# but python3 (so without "import", "fonts", "ui" and "sheet"); --data writes into DIR instead of data/. The content check runs both
# on a copy of data/ and compares the result with data/.
set -euo pipefail
data=
only=()
steps=()
while [ $# -gt 0 ]; do
  case "$1" in
    --manifests-only) only=(--manifests-only) ;;
    --data) data=$(realpath -m "$2"); shift ;;
    *) steps+=("$1") ;;
  esac
  shift
done
cd "$(dirname "$0")/.."
data=${data:-data}
if [ ${#steps[@]} -eq 0 ]; then steps=(art loading voices music effects fonts ui licenses sheet); fi

SUDO=
if [ "$(id -u)" -ne 0 ]; then SUDO=sudo; fi
# The system's Python, which sees the Debian python3-* packages whatever python3 is first on PATH.
PY=/usr/bin/python3
export PYTHONDONTWRITEBYTECODE=1
FLUENT_VERSION=1.2.6

need() {
  if [ ${#only[@]} -gt 0 ]; then return; fi
  local missing=()
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing+=("$p")
  done
  if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    $SUDO apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
  fi
}

for step in "${steps[@]}"; do
  if [ ${#only[@]} -gt 0 ]; then
    case "$step" in import|fonts|ui|sheet) continue ;; esac
  fi
  case "$step" in
    import)
      need python3
      command -v npm >/dev/null || need npm
      work=$(mktemp -d)
      (cd "$work" && npm pack --silent "@iconify-json/fluent-emoji-flat@$FLUENT_VERSION" >/dev/null && tar xzf ./*.tgz)
      $PY tools/content/import_art.py "$work/package" art
      rm -rf "$work"
      ;;
    art)
      need python3 librsvg2-bin fonts-dejavu-core
      $PY tools/content/make_art.py "${only[@]}" art "$data"
      $PY tools/content/make_cutscenes.py "${only[@]}" art "$data"
      $PY tools/content/make_front.py "${only[@]}" art "$data"
      $PY tools/content/make_flow_art.py "${only[@]}" art "$data"
      $PY tools/content/make_sticker_book_art.py "${only[@]}" art "$data"
      $PY tools/content/make_counting_art.py "${only[@]}" art "$data"
      $PY tools/content/make_delivery_art.py "${only[@]}" art "$data"
      $PY tools/content/make_hammer_art.py "${only[@]}" art "$data"
      $PY tools/content/make_haulers_art.py "${only[@]}" art "$data"
      $PY tools/content/make_hide_and_seek_art.py "${only[@]}" art "$data"
      $PY tools/content/make_tool_shed_art.py "${only[@]}" art "$data"
      $PY tools/content/make_plan_a_job_art.py "${only[@]}" art "$data"
      $PY tools/content/make_sprout_puzzle_art.py "${only[@]}" art "$data"
      $PY tools/content/make_stacking_art.py "${only[@]}" art "$data"
      $PY tools/content/make_leaves_art.py "${only[@]}" art "$data"
      $PY tools/content/make_paint_it_art.py "${only[@]}" art "$data"
      $PY tools/content/make_street_signs_art.py "${only[@]}" art "$data"
      ;;
    loading)
      need python3 librsvg2-bin fonts-dejavu-core
      $PY tools/content/make_loading.py "${only[@]}" art "$data"
      ;;
    voices)
      need python3 festival festvox-us-slt-hts espeak-ng sox libsox-fmt-all vorbis-tools
      $PY tools/content/make_voices.py "${only[@]}" tools/content/voices.txt "$data"
      ;;
    music)
      need python3 python3-mido fluidsynth fluid-soundfont-gm sox libsox-fmt-all vorbis-tools
      $PY tools/content/make_sounds.py "${only[@]}" "$data" music
      ;;
    effects)
      need python3 sox libsox-fmt-all vorbis-tools
      $PY tools/content/make_sounds.py "${only[@]}" "$data" effects
      ;;
    fonts)
      # The engine's bitmap fonts, written straight into data/fonts/.
      need g++ libstb-dev fonts-dejavu-core
      if [ "$data" != data ]; then echo "fonts: writes data/ only" >&2; exit 2; fi
      bash tools/makefont/make_fonts.sh
      ;;
    ui)
      need g++
      if [ "$data" != data ]; then echo "ui: writes data/ only" >&2; exit 2; fi
      bash tools/make_ui_images/make_ui_images.sh
      ;;
    licenses)
      # The licence texts LICENSES names ship inside the data folder, beside it.
      mkdir -p "$data/licenses"
      cp tools/content/LICENSES "$data/LICENSES"
      cp art/LICENSE-MIT "$data/licenses/Fluent-Emoji-MIT.txt"
      cp LICENSE "$data/licenses/Menagerie-MIT.txt"
      cp tools/content/licenses/*.txt "$data/licenses/"
      ;;
    sheet)
      # The contact sheet is drawn by the engine itself, so it shows what the game shows.
      need cmake ninja-build g++ pkg-config zlib1g-dev libboost-dev libstb-dev
      launcher=()
      if command -v ccache >/dev/null; then launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache); fi
      cmake -S . -B build/content -G Ninja -DCMAKE_BUILD_TYPE=Release -DSTRATA_TESTS=OFF "${launcher[@]}" >/dev/null
      cmake --build build/content -j "${JOBS:-4}" --target contact_sheet
      build/content/tools/content/contact_sheet data docs/content/shared_art.png \
        ForemanInstructionMode ForemanInstructionModeLayout docs/content/foreman_layout.png
      # One sheet a game of the pictures a child names and the targets a small hand hits, at game size.
      sheet() { build/content/tools/content/contact_sheet data "docs/content/$1.png" --pictures "${@:2}"; }
      sheet foreman "Instruction poses" ForemanInstructionMode ForemanPoses ForemanPanel
      sheet toolshed "Tool shed" ToolShedMode ToolShedTool_Pliers_Frames ToolShedTool_Hammer_Frames ToolShedTool_Level_Frames ToolShedBox_Sign
      sheet leaves "Leaf pile" PileOfLeavesMode GeneralTool_Hammer GeneralTool_Pliers GeneralTool_Wrench POL_DogFrames
      sheet hideandseek "Hide and seek" HideAndSeekMode HS_TailFrames HS_TabbyFrames
      sheet hammer "Hammering game" HammerTheNailMode FixIt_Nail_Wrench_Red FixIt_Nail_Wrench_Blue FixIt_Nail_DriverPlus_Green FixIt_Nail_DriverMinus_Yellow FixIt_Tool_InBox_DriverPlus FixIt_Tool_InBox_DriverMinus
      sheet stacking "Stacking" HoistStackerMode RedLogs BlueGirders
      sheet haulers "Cargo pattern" HaulersDeliveryMode HaulerDeliveryItems_Large
      sheet delivery "Delivery" HereToThereMode HTT_Flag HTT_Cage HereToThere_Star HereToThere_Circle HereToThere_Triangle HereToThere_Rectangle
      sheet flow "Free play" GameSelect GameButton_PlanAJob GameButton_HoistStacker
      # Every tool kind as each game, pop-up and free-play card draws it, one kind a row: one drawing each.
      sheet tools "Every tool, as each game draws it" ToolShedMode+PileOfLeavesMode+HammerTheNailMode+PlanAJobMode+GameSelect+ForemanInstructionMode \
        ToolShedTool_Wrench_Frames GeneralTool_Wrench - FixIt_Tool_InBox_Wrench - FixIt_Tool_InHand_Wrench#3 GameButton_HammerTheNail#0 ForemanPoses#6 \
        - ForemanPoses#9 FixIt_Foreman - ToolShedTool_Hammer_Frames GeneralTool_Hammer - ForemanPoses#1 Button_FreePlayButton_EN#0 \
        - ToolShedTool_Screwdriver_Frames GeneralTool_Screwdriver - FixIt_Tool_InBox_DriverPlus - FixIt_Tool_InBox_DriverMinus \
        - ToolShedTool_Saw_Frames GeneralTool_Saw - ToolShedTool_Pliers_Frames GeneralTool_Pliers \
        - ToolShedTool_Drill_Frames GeneralTool_Drill - ToolShedTool_Level_Frames GeneralTool_Level \
        - ToolShedTool_Brush_Frames GeneralTool_Brush - cursor_brush_red GameButton_PaintIt#0 PlanAJob_Doghouse_Targets
      # The story's fence pictures, the cargo train with its gantry crane and the delivery truck. (The
      # splashes share their names with the loading layout's sprites: the game's shots show them.)
      sheet scenes_and_vehicles "Fence cut-scene, cargo train, crane, truck" CutsceneMode+HaulersDeliveryMode+HereToThereMode \
        CutscenePicture_Fence_1 CutscenePicture_Fence_2 CutscenePicture_Finale_2 \
        - HD_TruckFrames HD_CartFrames#0 - HD_CabFrames HD_GantryBeam - HTT_TruckFrames
      for c in Intro Fence Pond Trees Finale; do build/content/tools/content/contact_sheet data "$(mktemp --suffix=.png)" CutsceneMode "Cutscene_$c+CutsceneLayout" "docs/screens/Cutscene_$c.png"; done
      cmake --build build/content -j "${JOBS:-4}" --target counting_shots && build/content/tools/content/counting_shots data docs/counting
      cmake --build build/content -j "${JOBS:-4}" --target delivery_shots && build/content/tools/content/delivery_shots data docs/delivery
      cmake --build build/content -j "${JOBS:-4}" --target haulers_shots && build/content/tools/content/haulers_shots data docs/haulers
      cmake --build build/content -j "${JOBS:-4}" --target hide_and_seek_shots && build/content/tools/content/hide_and_seek_shots data docs/hideandseek
      cmake --build build/content -j "${JOBS:-4}" --target sprout_puzzle_shots && build/content/tools/content/sprout_puzzle_shots data docs/puzzle
      cmake --build build/content -j "${JOBS:-4}" --target plan_a_job_shots && build/content/tools/content/plan_a_job_shots data docs/planajob
      cmake --build build/content -j "${JOBS:-4}" --target stacking_shots && build/content/tools/content/stacking_shots data docs/stacking
      cmake --build build/content -j "${JOBS:-4}" --target leaves_shots && build/content/tools/content/leaves_shots data docs/leaves
      cmake --build build/content -j "${JOBS:-4}" --target paint_it_shots && build/content/tools/content/paint_it_shots data docs/paintit
      cmake --build build/content -j "${JOBS:-4}" --target street_signs_shots && build/content/tools/content/street_signs_shots data docs/streetsigns
      cmake --build build/content -j "${JOBS:-4}" --target hammer_shots && build/content/tools/content/hammer_shots data docs/hammer
      ;;
    *)
      echo "unknown step: $step" >&2
      exit 2
      ;;
  esac
done
echo "content made in $data"
