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
