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

T: title "Title"
T: speed_name "Speed"
#endregion // Wizard Text

#region Choice List Filter

#endregion // Choice List Filter

#region Array Filter

#endregion // Array Filter

#region Local Parameters

#endregion //Local Parameters

#region Drive Param


#endregion //Drive Param


#region Choice Lists

#endregion //Choice List


#region Scripts


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

SCREEN_SINGLE_PARAM: second
{
   VP: speed
   {
      T: speed_name
      MIN: 0
      VAL: 1
      MAX: 10
      SCALE: 0
   }


   NS: third
}

SCREEN_SINGLE_PARAM: third
{
   VP: speed
   {
      T: speed_name
      MIN: 0
      VAL: 1
      MAX: 10
      SCALE: 0
   }


}


#endregion //Drive Screens

