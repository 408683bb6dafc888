#region Wizard Header Information

FILE_FORMAT_VERSION: 1.0
FILE_VERSION: 1.05
RUN_MODE: 0
PRODUCT_TYPE: 417
PRODUCT_NAME: "QX-417"
DATABASE_VERSION: 2.00
FILE_NAME: "shared"

#endregion // Wizard Header Information

#region Wizard Text

T: title "Shared items"
H: title "Every item here is used twice: Grüße."
T: speed_name "Speed"
T: slow "Slow"
T: fast "Fast"
T: mode_name "Mode"
T: other_name "Other mode"
T: ctl_name "Control"
#endregion // Wizard Text

#region Choice List Filter

#endregion // Choice List Filter

#region Array Filter

#endregion // Array Filter

#region Local Parameters

LP: lp_x = 3
#endregion //Local Parameters

#region Scripts

FIRST_SCREEN_SCRIPT: init
{
   CVP 1 lp_x
}


#endregion //Scripts


#region Drive Param


#endregion //Drive Param


#region Choice Lists

#endregion //Choice List


#region Drive Screens

SCREEN_OVERLAY: first
{
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
      VAL: 1
      MAX: 10
      SCALE: 0
      WS: ws_shared
      {
         CPY speed lp_x
      }
   }
   VCP: mode
   {
      T: mode_name
      H: mode_name
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
      H: other_name
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


#endregion //Drive Screens

