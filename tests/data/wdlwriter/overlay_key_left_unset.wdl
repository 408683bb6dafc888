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
      OK_ACTION: EXIT_WIZARD
      CANCEL_ACTION: 
      BACK_ACTION: 
      INFO_ACTION: 
      UP_ACTION: 
      DOWN_ACTION: 
      LEFT_ACTION: 
      RIGHT_ACTION: 
   }

}


#endregion //Drive Screens

