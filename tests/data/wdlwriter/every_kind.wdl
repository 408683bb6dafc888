#region Wizard Header Information

FILE_FORMAT_VERSION: 1.0
FILE_VERSION: 1.05
RUN_MODE: 0
PRODUCT_TYPE: 417
PRODUCT_NAME: "QX-417"
DATABASE_VERSION: 2.00
FILE_NAME: "w"

#endregion // Wizard Header Information

#region Wizard Text

T: title "Title\nsecond line: Grüße"
H: title "Help"
T: speed_name "Speed"
T: a "A"
T: b "B"
T: mode_name "Mode"
#endregion // Wizard Text

#region Choice List Filter

CLF: modes "0,2"
#endregion // Choice List Filter

#region Array Filter

APF: inputs "1,2"
#endregion // Array Filter

#region Local Parameters

LP: lp_x = 3
#endregion //Local Parameters

#region Drive Param


#endregion //Drive Param


#region Choice Lists

CL: modes_list
{
   a
   b
}

#endregion //Choice List


#region Scripts

SUBROUTINE: sr_copy
{
   CPY speed lp_x
   RET
}


#endregion //Scripts


#region Drive Screens

SCREEN_OVERLAY: first
{
   OVERLAY: o_first
   {
      T: title
      OK_ACTION: GOTO_NEXT_SCREEN
      CANCEL_ACTION: EXIT_WIZARD
      BACK_ACTION: GOTO_PREVIOUS_SCREEN
      INFO_ACTION: NO_ACTION
      UP_ACTION: NO_ACTION
      DOWN_ACTION: NO_ACTION
      LEFT_ACTION: NO_ACTION
      RIGHT_ACTION: NO_ACTION
   }

   NS: second
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
      WS: ws_speed
      {
         CALL sr_copy
      }
   }

   VCP: mode
   {
      T: mode_name
      H: mode_name
      CL: modes_list
   }


   NS: third
}

SCREEN_SINGLE_PARAM: third
{
   P: ctl 100
   {
      TO: mode_name
      CLF: modes
      APF: inputs
   }


}


#endregion //Drive Screens

