#pragma once

// The names of the controls that show and take back captured points: the
// entries of the panel's settings menu and the loupe over the canvas.
namespace kx::ui::names::marks {

inline constexpr char kUndoEntry[] = "UNDO1";
inline constexpr char kRedoEntry[] = "REDO1";
inline constexpr char kLoupeEntry[] = "LOUPE1";
inline constexpr char kOverlayEntry[] = "FITOVL";
inline constexpr char kLoupe[] = "Loupe";

}  // namespace kx::ui::names::marks
