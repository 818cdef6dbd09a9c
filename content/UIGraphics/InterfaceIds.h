// Resource ids of the interface pictures, read by the bitmap resource
// scripts of this folder.
const Sint32 kPanelBackgroundId = 1200;
const Sint32 kGradientId = 1201;
const Sint32 kDemoPatternId = 1202;
// Languages a picture may be limited to.
const Sint32 kLanguageEnglish = 1;
// The two start-up pictures of the splash screen.
const Sint32 kSplashFirstId = 9002;
const Sint32 kSplashSecondId = 9003;
// The control manager's strips, in the order of its image slots 0-5 and 9.
const Sint32 kCtrlSystemButtonId = 18;
const Sint32 kCtrlCheckBoxId = 17;
const Sint32 kCtrlHorizontalSliderId = 3008;
const Sint32 kCtrlVerticalSliderId = 19;
const Sint32 kCtrlScrollBarId = 20;
const Sint32 kCtrlMessageBoxFrameId = 21;
const Sint32 kCtrlDialogBackgroundId = 27;
