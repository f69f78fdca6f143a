#include <gtest/gtest.h>

#include "platform/app/CommandLine.h"
#include "platform/statusbar/StatusBarHostRule.h"

namespace vorelt {
namespace {

using Place = StatusBarHostRule::Place;

StatusBarHostRule::Facts tray(const std::string& owner, const std::string& desktop) {
    StatusBarHostRule::Facts facts;
    facts.trayHasHost = true;
    facts.trayOwner = owner;
    facts.currentDesktop = desktop;
    return facts;
}

TEST(StatusBarHostRule, OnlyTraysThatShowTheTextTakeTheClock) {
    EXPECT_EQ(StatusBarHostRule::place(tray("gnome-shell", "GNOME")), Place::panelTray);
    EXPECT_EQ(StatusBarHostRule::place(tray("ayatana-indicator-application-service", "MATE")),
              Place::panelTray);
    // An unknown owner: the desktop decides.
    EXPECT_EQ(StatusBarHostRule::place(tray("snwatcher", "ubuntu:GNOME")), Place::panelTray);
    EXPECT_EQ(StatusBarHostRule::place(tray("snwatcher", "GNOME-Flashback:Foo")), Place::ownBar);
    for (const auto& owner : {"xfce4-panel", "wrapper-2.0", "waybar", "kded6"}) {
        EXPECT_EQ(StatusBarHostRule::place(tray(owner, "GNOME")), Place::ownBar) << owner;
    }
    StatusBarHostRule::Facts none = tray("", "GNOME");
    none.trayHasHost = false;
    EXPECT_EQ(StatusBarHostRule::place(none), Place::ownBar);
}

TEST(StatusBarHostRule, WithoutRoomForABarTheClockIsNeverAWindowMidScreen) {
    StatusBarHostRule::Facts sway = tray("waybar", "sway");
    sway.docksKeepTheirStrip = false;
    // An icon that opens the popover is the best left; the text is hidden and the user told.
    EXPECT_EQ(StatusBarHostRule::place(sway), Place::panelTray);
    EXPECT_TRUE(StatusBarHostRule::titleHidden(sway, Place::panelTray));
    sway.trayHasHost = false;
    EXPECT_EQ(StatusBarHostRule::place(sway), Place::nowhere);
    EXPECT_TRUE(StatusBarHostRule::titleHidden(sway, Place::nowhere));
    const auto gnome = tray("gnome-shell", "GNOME");
    EXPECT_FALSE(StatusBarHostRule::titleHidden(gnome, StatusBarHostRule::place(gnome)));
}

TEST(StatusBarHostRule, TheCommandLineOverridesTheRule) {
    auto facts = tray("gnome-shell", "GNOME");
    facts.requested = Place::ownBar;
    EXPECT_EQ(StatusBarHostRule::place(facts), Place::ownBar);
    facts = tray("xfce4-panel", "XFCE");
    facts.requested = Place::panelTray;
    EXPECT_EQ(StatusBarHostRule::place(facts), Place::panelTray);
    EXPECT_FALSE(StatusBarHostRule::titleHidden(facts, Place::panelTray)) << "asked for";
    facts.trayHasHost = false;
    EXPECT_EQ(StatusBarHostRule::place(facts), Place::ownBar) << "until a tray appears";
    facts.requested = Place::standardOutput;
    EXPECT_EQ(StatusBarHostRule::place(facts), Place::standardOutput);
    // Without a display only a tray that shows the text beats standard output.
    facts = tray("xfce4-panel", "XFCE");
    facts.display = false;
    EXPECT_EQ(StatusBarHostRule::place(facts), Place::standardOutput);
    facts.requested = Place::ownBar;
    EXPECT_EQ(StatusBarHostRule::place(facts), Place::standardOutput);
    facts = tray("gnome-shell", "GNOME");
    facts.display = false;
    EXPECT_EQ(StatusBarHostRule::place(facts), Place::panelTray);
    // A bar program that started the clock offscreen reads it, whatever else is asked or there.
    facts.offscreenAskedFor = true;
    facts.requested = Place::panelTray;
    EXPECT_EQ(StatusBarHostRule::place(facts), Place::standardOutput);
    EXPECT_FALSE(StatusBarHostRule::followsTray(facts));
}

TEST(CommandLine, ReadsThePlaceHelpAndVersionAndReportsTheFirstFault) {
    EXPECT_EQ(CommandLine({"--show-in=tray"}).place(), Place::panelTray);
    EXPECT_EQ(CommandLine({"--show-in", "stdout"}).place(), Place::standardOutput);
    EXPECT_EQ(CommandLine({"--show-in=bar", "--show-in=auto"}).place(), Place::automatic);
    EXPECT_TRUE(CommandLine({"-h"}).helpAsked());
    EXPECT_TRUE(CommandLine({"--version"}).versionAsked());
    EXPECT_TRUE(CommandLine({}).error().empty());

    EXPECT_EQ(CommandLine({"--frob", "x"}).error(), "unknown option '--frob' (see --help)");
    EXPECT_EQ(CommandLine({"x"}).error(), "unexpected argument 'x' (see --help)");
    EXPECT_NE(CommandLine({"--show-in=moon"}).error().find("'moon'"), std::string::npos);
    EXPECT_FALSE(CommandLine({"--show-in"}).error().empty());
    EXPECT_EQ(CommandLine({"--show-in=moon"}).place(), Place::automatic);
}

}  // namespace
}  // namespace vorelt
