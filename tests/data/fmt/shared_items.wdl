# Items shared between screens: each is written in full where it is first
# used and named everywhere else.

FILE_FORMAT_VERSION: 1.0
FILE_VERSION: 1.5
RUN_MODE: 0
PRODUCT_TYPE: 417
PRODUCT_NAME: "QX-417"
DATABASE_VERSION: 2.0
FILE_NAME: "shared"

T: title "Shared items"
H: title "Every item here is used twice: Grüße."
T: speed_name "Speed"
T: slow "Slow"
T: fast "Fast"
T: mode_name "Mode"
T: other_name "Other mode"
T: ctl_name "Control"
LP: lp_x = 3

# Nothing refers to it; it keeps its body.
FIRST_SCREEN_SCRIPT: init
{
   CVP 1 lp_x
}

# Defined at top level, first used by the VP: written there.
WS: ws_shared
{
   CPY speed lp_x
}

SCREEN_OVERLAY: first
{
   # Only OK is bound; the other keys stay unset.
   OVERLAY: o_shared
   {
      T: title
      OK_ACTION: GOTO_NEXT_SCREEN
   }
   NSS: choose
   {
      SNS second
      SNS third
   }
}

SCREEN_DUAL_PARAM: second
{
   VP: speed
   {
      T: speed_name
      MIN: 0
      MAX: 10
      VAL: 1
      SCALE: 0
      WS: ws_shared
   }
   VCP: mode
   {
      T: mode_name
      CL: modes
      {
         slow
         fast*
      }
      WS: ws_shared
   }
   NSS: choose
}

SCREEN_DUAL_PARAM: third
{
   VP: speed
   VCP: other_mode
   {
      T: other_name
      CL: modes
   }
   NS: fourth
}

SCREEN_SINGLE_PARAM: fourth
{
   P: ctl 100
   {
      TO: ctl_name
   }
   NS: fifth
}

SCREEN_SINGLE_PARAM: fifth
{
   P: ctl
   NS: sixth
}

SCREEN_OVERLAY: sixth
{
   OVERLAY: o_shared
   NSS: choose
}
